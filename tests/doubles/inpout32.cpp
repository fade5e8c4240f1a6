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

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#define PATH_SIZE MAX_PATH
#define PORT_API extern "C" __declspec(dllexport)
#else
#include <dlfcn.h>
#include <limits.h>
#define PATH_SIZE PATH_MAX
#define PORT_API extern "C"
#define WINAPI
#endif

static char log_path[PATH_SIZE];

static void record(const char *format, ...) __attribute__((format(printf, 1, 2)));

static void
record(const char *format, ...)
{
	FILE *log;
	va_list ap;

	/* Reopened per event so that a crash still leaves what came before. */
	if ((log = fopen(log_path, "ab")) == NULL)
		abort();
	va_start(ap, format);
	vfprintf(log, format, ap);
	va_end(ap);
	if (fclose(log) != 0)
		abort();
}

/* Points log_path at inpout32.log beside `library`, the path this library was loaded from. */
static void
log_beside(const char *library)
{
	const char *name = "inpout32.log";
	const char *end = strrchr(library, '/');
	size_t dir;

#ifdef _WIN32
	if (strrchr(library, '\\') > end)
		end = strrchr(library, '\\');
#endif
	dir = end == NULL ? 0 : (size_t)(end - library) + 1;
	if (dir + strlen(name) >= sizeof log_path)
		abort();
	memcpy(log_path, library, dir);
	strcpy(log_path + dir, name);
}

#ifndef NO_OUT32
PORT_API void WINAPI Out32(short port, short value);

void WINAPI
Out32(short port, short value)
{
	record("Out32 %d %d\n", port, value);
}
#endif

#ifdef _WIN32

/* Windows tells FreeLibrary from the end of the process by the third argument. */
extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID process_ending);

BOOL WINAPI
DllMain(HINSTANCE self, DWORD reason, LPVOID process_ending)
{
	char path[PATH_SIZE];
	DWORD len;

	if (reason == DLL_PROCESS_ATTACH) {
		len = GetModuleFileNameA(self, path, sizeof path);
		if (len == 0 || len >= sizeof path)
			return FALSE;
		log_beside(path);
	} else if (reason == DLL_PROCESS_DETACH) {
		record(process_ending == NULL ? "FreeLibrary\n" : "exit\n");
	}
	return TRUE;
}

#else

/*
 * Not every dlclose unloads (musl's never does), so the destructor can't
 * tell a release from the end of the process.  The dlclose spy preloaded
 * into the command calls this first.
 */
static bool released;

extern "C" __attribute__((visibility("default"))) void inpout32_double_released(void);

void
inpout32_double_released(void)
{
	released = true;
	record("FreeLibrary\n");
}

__attribute__((constructor)) static void
loaded(void)
{
	Dl_info self;

	if (dladdr(reinterpret_cast<void *>(&record), &self) == 0)
		abort();
	log_beside(self.dli_fname);
}

/* Runs at dlclose, if that unloads, or at the end of the process. */
__attribute__((destructor)) static void
unloaded(void)
{
	if (!released)
		record("exit\n");
}

#endif
