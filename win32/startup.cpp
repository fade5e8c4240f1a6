/*
 * What the Windows command needs before main starts.
 */

#include <windows.h>

/* The MinGW-w64 start-up code expands wildcards in arguments only when asked. */
extern "C" {
extern int _dowildcard;
int _dowildcard = -1;
}

/*
 * A bare LoadLibraryA name is also looked for in the current directory,
 * where anyone who can write there can plant a library that then runs with
 * the rights of whoever starts the command.  Naming a DLL directory takes the
 * current directory out of the search (Windows XP SP1 and later).  Windows
 * documents "" for that, but Wine ignores it; the system folder, which is
 * searched anyway, works on both.
 */
__attribute__((constructor)) static void
exclude_current_directory(void)
{
	char system[MAX_PATH];
	UINT len;

	len = GetSystemDirectoryA(system, sizeof system);
	if (len > 0 && len < sizeof system)
		SetDllDirectoryA(system);
}
