/*
 * The floor for mibrek's cost per run: the same port write with nothing
 * around it, statically linked so that no dynamic loader runs.
 *
 *	floor lpt_adr podatak
 */

#include <stdio.h>
#include <stdlib.h>
#include <sys/io.h>

int
main(int argc, char *argv[])
{
	unsigned long port, value;

	if (argc != 3)
		return 1;
	port = strtoul(argv[1], NULL, 0);
	value = strtoul(argv[2], NULL, 0);
	if (ioperm(port, 1, 1) == -1) {
		perror("ioperm");
		return 255;
	}
	outb(value, port);
	return 0;
}
