/*
 * inpout32.dll for Linux: the port library that mibrek loads, writing a
 * parallel port's registers from user space.
 *
 * Out32 takes the port as the 16-bit address with the same bits (a PCI card
 * at 0xd010 arrives as a negative number) and writes the low byte of the
 * value, since a parallel port register is one byte wide.  It asks the
 * kernel for that one port (ioperm, x86 only), or else writes the byte at
 * the port's offset in /dev/port.  When neither works it says why and ends
 * the process with the status of the command's other environment failures:
 * a write that didn't happen is never reported as done.
 */

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#if defined(__i386__) || defined(__x86_64__)
#include <sys/io.h>
#endif

extern "C" __attribute__((visibility("default"))) void Out32(short port, short value);

/* Returns 0, or the errno of the failure. */
static int
write_dev_port(unsigned short port, unsigned char byte)
{
	int fd, error = 0;
	ssize_t written;

	if ((fd = open("/dev/port", O_WRONLY | O_CLOEXEC)) == -1)
		return errno;
	if ((written = pwrite(fd, &byte, 1, port)) == -1)
		error = errno;
	else if (written != 1)
		error = EIO;
	close(fd);
	return error;
}

void
Out32(short port, short value)
{
	const unsigned short address = static_cast<unsigned short>(port);
	const unsigned char byte = static_cast<unsigned char>(value);
	int error = 0, dev_port_error;

#if defined(__i386__) || defined(__x86_64__)
	if (ioperm(address, 1, 1) == 0) {
		outb(byte, address);
		return;
	}
	error = errno;
#endif
	if ((dev_port_error = write_dev_port(address, byte)) == 0)
		return;
	/* Without /dev/port, the kernel's refusal of the port itself is the better reason. */
	if (error == 0 || dev_port_error != ENOENT)
		error = dev_port_error;

	fprintf(stderr, "inpout32.dll: can't write port 0x%x: %s; "
	    "it takes root or the CAP_SYS_RAWIO capability\n", address, strerror(error));
	exit(-1);
}
