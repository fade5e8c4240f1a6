/*
 * LoadLibraryA, GetProcAddress and FreeLibrary over dlopen, dlsym and dlclose.
 */

#include <dlfcn.h>
#include <limits.h>
#include <stddef.h>
#include <string.h>
#include <sys/auxv.h>
#include <unistd.h>

#include "windows.h"

/*
 * Loads `name` from the folder that holds the running executable, as
 * Windows looks there first.  A program started with raised privileges
 * (setuid, file capabilities) skips it: whoever put the program in that
 * folder may control what lies beside it.
 */
static void *
load_beside_executable(const char *name)
{
	char path[PATH_MAX];
	ssize_t len;
	char *folder_end;

	if (getauxval(AT_SECURE) != 0)
		return NULL;
	len = readlink("/proc/self/exe", path, sizeof path);
	if (len <= 0 || static_cast<size_t>(len) >= sizeof path)
		return NULL;
	path[len] = '\0';
	if ((folder_end = strrchr(path, '/')) == NULL ||
	    static_cast<size_t>(folder_end + 1 - path) + strlen(name) >= sizeof path)
		return NULL;
	strcpy(folder_end + 1, name);
	return dlopen(path, RTLD_LAZY | RTLD_LOCAL);
}

HMODULE
LoadLibraryA(LPCSTR lpLibFileName)
{
	void *lib = NULL;

	/*
	 * A name without a slash is looked for beside the executable, then
	 * through the dynamic loader's search, which holds no working
	 * directory unless the user put one in LD_LIBRARY_PATH.
	 */
	if (strchr(lpLibFileName, '/') == NULL)
		lib = load_beside_executable(lpLibFileName);
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
