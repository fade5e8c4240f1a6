/*
 * inpout32.dll for Linux: the port library that mibrek loads, writing a
 * parallel port's registers from user space.
 *
 * Out32 takes the port as the 16-bit address with the same bits (a PCI card
 * at 0xd010 arrives as a negative number) and writes the low byte of the
 * value, since a parallel port register is one byte wide.  It asks the
 * kernel for that one port (ioperm, x86 only), or else writes the byte at
 * the port's offset in /dev/port.  When neither works it says why, naming
 * the cause (the kernel's lockdown, a kernel without port I/O, missing
 * rights), and ends the process with the status of the command's other
 * environment failures: a write that didn't happen is never reported as
 * done.
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

/*
 * The kernel's lockdown mode, the bracketed word of
 * /sys/kernel/security/lockdown ("none [integrity] confidentiality"), into
 * `mode`.  Returns whether the kernel is locked down.
 */
static bool
locked_down(char *mode, size_t size)
{
	char line[128];
	const char *start, *end;
	FILE *file;
	bool got_line;

	if ((file = fopen("/sys/kernel/security/lockdown", "re")) == NULL)
		return false;
	got_line = fgets(line, sizeof line, file) != NULL;
	fclose(file);
	if (!got_line || (start = strchr(line, '[')) == NULL || (end = strchr(++start, ']')) == NULL ||
	    static_cast<size_t>(end - start) >= size)
		return false;
	memcpy(mode, start, static_cast<size_t>(end - start));
	mode[end - start] = '\0';
	return strcmp(mode, "none") != 0;
}

/*
 * Says on one line why the port can't be written, naming the cause that
 * applies, and ends the run.  The errors are those of ioperm (0 where it
 * isn't tried) and of /dev/port.
 */
[[noreturn]] static void
refuse(unsigned short address, int ioperm_error, int dev_port_error)
{
	char mode[32];
	/* Without /dev/port, the kernel's refusal of the port itself is the better reason. */
	const int error = ioperm_error != 0 && dev_port_error == ENOENT ? ioperm_error : dev_port_error;
	const bool refused = error == EPERM || error == EACCES;

	fprintf(stderr, "inpout32.dll: can't write port 0x%x: ", address);
	if (refused && locked_down(mode, sizeof mode))
		fprintf(stderr, "the kernel is locked down (%s), which forbids port access to every "
		    "program, root included; Secure Boot or the lockdown= boot parameter turns it on\n",
		    mode);
	else if (dev_port_error == ENOENT && (ioperm_error == 0 || ioperm_error == ENOSYS))
		fprintf(stderr, "this kernel has no port I/O (no ioperm and no /dev/port), "
		    "which no privilege changes\n");
	else if (refused)
		fprintf(stderr, "%s; it takes root or the CAP_SYS_RAWIO capability, which mibrek's "
		    "Debian package gives to group lp if the administrator allows it "
		    "(dpkg-reconfigure mibrek)\n", strerror(error));
	else
		fprintf(stderr, "%s\n", strerror(error));
	exit(-1);
}

void
Out32(short port, short value)
{
	const unsigned short address = static_cast<unsigned short>(port);
	const unsigned char byte = static_cast<unsigned char>(value);
	int ioperm_error = 0, dev_port_error;

#if defined(__i386__) || defined(__x86_64__)
	if (ioperm(address, 1, 1) == 0) {
		outb(byte, address);
		return;
	}
	ioperm_error = errno;
#endif
	if ((dev_port_error = write_dev_port(address, byte)) == 0)
		return;
	refuse(address, ioperm_error, dev_port_error);
}
