/*
 * LoadLibraryA, GetProcAddress and FreeLibrary over dlopen, dlsym and dlclose.
 */

#include <dlfcn.h>
#include <stddef.h>
#include <string.h>

#include <limits.h>

#include "windows.h"

HMODULE
LoadLibraryA(LPCSTR lpLibFileName)
{
	char beside[sizeof "$ORIGIN/" + NAME_MAX] = "$ORIGIN/";
	void *lib = NULL;

	/*
	 * Like Windows, look in the executable's own folder first: the dynamic
	 * loader expands $ORIGIN to it, except in a program started with raised
	 * privileges, whose folder it doesn't trust.  Then a name without a
	 * slash goes through the loader's search, which holds no working
	 * directory unless the user put one in LD_LIBRARY_PATH.
	 */
	if (strchr(lpLibFileName, '/') == NULL && strlen(lpLibFileName) <= NAME_MAX) {
		strcat(beside, lpLibFileName);
		lib = dlopen(beside, RTLD_LAZY | RTLD_LOCAL);
	}
	if (lib == NULL)
		lib = dlopen(lpLibFileName, RTLD_LAZY | RTLD_LOCAL);
	return static_cast<HMODULE>(lib);
}

FARPROC
GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
	/* POSIX guarantees that dlsym's object pointer converts to a function pointer. */
	return reinterpret_cast<FARPROC>(dlsym(hModule, lpProcName));
}

BOOL
FreeLibrary(HMODULE hLibModule)
{
	return dlclose(hLibModule) == 0;
}
