/*
 * What mibrek needs of <windows.h>, for systems that have dlopen
 * instead: loading a library at run time, finding an entry in it, and
 * releasing it.  Names and types are the Windows ones, so the command's
 * source is the same on both.
 */
#ifndef MIBREK_POSIX_WINDOWS_H
#define MIBREK_POSIX_WINDOWS_H

/* There is one calling convention here. */
#define WINAPI

typedef int BOOL;
typedef const char *LPCSTR;
typedef struct HINSTANCE__ *HMODULE;
typedef void (*FARPROC)(void);

/*
 * A bare file name is looked for in the folder of the running executable
 * (unless it runs with raised privileges), then on the dynamic loader's
 * library path; never in the working directory.  A name with a slash in it
 * is loaded from that path.  Returns NULL when the library can't be loaded.
 */
HMODULE LoadLibraryA(LPCSTR lpLibFileName);

/* The address of an exported function, or NULL when there is none. */
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);

/* Releases a library loaded by LoadLibraryA; nonzero on success. */
BOOL FreeLibrary(HMODULE hLibModule);

#endif
