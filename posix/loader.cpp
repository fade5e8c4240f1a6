/*
 * LoadLibraryA, GetProcAddress and FreeLibrary over dlopen, dlsym and dlclose.
 */

#include <dlfcn.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <limits.h>

#include "windows.h"

/*
 * Puts the path of a file named `name` in the executable's own folder into
 * `path`.  False when that folder can't be known (no /proc) or the path
 * doesn't fit.
 */
static bool
beside_executable(const char *name, char *path, size_t size)
{
	char exe[PATH_MAX];
	ssize_t len;
	char *slash;
	int n;

	len = readlink("/proc/self/exe", exe, sizeof exe);
	if (len <= 0 || (size_t)len >= sizeof exe)
		return false;
	exe[len] = '\0';
	if ((slash = strrchr(exe, '/')) == NULL)
		return false;
	*slash = '\0';
	n = snprintf(path, size, "%s/%s", exe, name);
	return n > 0 && (size_t)n < size;
}

HMODULE
LoadLibraryA(LPCSTR lpLibFileName)
{
	char path[PATH_MAX];
	void *lib = NULL;

	/*
	 * Like Windows, try the application's folder first.  dlopen of a name
	 * without a slash then searches the loader's path, which holds no
	 * working directory unless the user put one in LD_LIBRARY_PATH.
	 */
	if (strchr(lpLibFileName, '/') == NULL &&
	    beside_executable(lpLibFileName, path, sizeof path))
		lib = dlopen(path, RTLD_NOW | RTLD_LOCAL);
	if (lib == NULL)
		lib = dlopen(lpLibFileName, RTLD_NOW | RTLD_LOCAL);
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
