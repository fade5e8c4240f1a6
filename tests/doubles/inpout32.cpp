/*
 * A port library for the tests.  Instead of touching a port it writes what
 * it was asked to do, one line per event, to inpout32.log in its own folder:
 *
 *	Out32 <port> <value>	each call, as the signed 16-bit numbers received
 *	FreeLibrary		the program released it
 *	exit			it was still loaded when the process ended
 *
 * Built with NO_OUT32 defined it exports no Out32 and records only how it
 * was unloaded.
 */

#include <dlfcn.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <limits.h>

static char log_path[PATH_MAX];

static void record(const char *format, ...) __attribute__((format(printf, 1, 2)));

static void
record(const char *format, ...)
{
	FILE *log;
	va_list ap;

	/* Reopened per event so that a crash still leaves what came before. */
	if ((log = fopen(log_path, "a")) == NULL)
		abort();
	va_start(ap, format);
	vfprintf(log, format, ap);
	va_end(ap);
	if (fclose(log) != 0)
		abort();
}

#ifndef NO_OUT32
extern "C" void Out32(short port, short value);

void
Out32(short port, short value)
{
	record("Out32 %d %d\n", port, value);
}
#endif

/*
 * dlclose and the end of the process both run the destructor, so an exit
 * handler tells them apart.  A handler registered from here belongs to this
 * library: at the end of the process it runs before the library's
 * destructors, while dlclose runs it after them.
 */
static bool exiting, released;

static void
on_exit_handler(void)
{
	if (!released) {
		exiting = true;
		record("exit\n");
	}
}

__attribute__((constructor)) static void
loaded(void)
{
	Dl_info self;
	char *slash;

	if (dladdr(reinterpret_cast<void *>(&record), &self) == 0 ||
	    strlen(self.dli_fname) >= sizeof log_path)
		abort();
	strcpy(log_path, self.dli_fname);
	if ((slash = strrchr(log_path, '/')) == NULL)
		abort();
	strcpy(slash + 1, "inpout32.log");
	if (atexit(on_exit_handler) != 0)
		abort();
}

__attribute__((destructor)) static void
unloaded(void)
{
	if (!exiting) {
		released = true;
		record("FreeLibrary\n");
	}
}
