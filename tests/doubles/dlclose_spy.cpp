/*
 * Preloaded into the command under test: before the real dlclose, tells a
 * test port library that it is being released, so that it can record
 * FreeLibrary whether or not the C library then unloads it.
 */

#include <dlfcn.h>
#include <stdlib.h>

extern "C" __attribute__((visibility("default"))) int dlclose(void *handle);

int
dlclose(void *handle)
{
	int (*real)(void *) = reinterpret_cast<int (*)(void *)>(dlsym(RTLD_NEXT, "dlclose"));
	void (*released)(void) = reinterpret_cast<void (*)(void)>(dlsym(handle, "inpout32_double_released"));

	if (real == NULL)
		abort();
	if (released != NULL)
		released();
	return real(handle);
}
