/*
 * Preloaded into the command under test: before the real dlclose, tells a
 * test port library that it is being released, so that it can record
 * FreeLibrary whether or not the C library then unloads it.
 *
 * C, not C++: it defines a function that the C library declares.
 */

#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>

int
dlclose(void *handle)
{
	void *real_symbol = dlsym(RTLD_NEXT, "dlclose");
	void *released_symbol = dlsym(handle, "inpout32_double_released");
	int (*real)(void *);
	void (*released)(void);

	/* ISO C has no cast from an object pointer to a function pointer; POSIX makes the bytes one. */
	if (real_symbol == NULL)
		abort();
	memcpy(&real, &real_symbol, sizeof real);
	if (released_symbol != NULL) {
		memcpy(&released, &released_symbol, sizeof released);
		released();
	}
	return real(handle);
}
