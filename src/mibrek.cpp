/*
 * mibrek: write one value to an I/O port (an LPT port) through the port
 * library inpout32.dll, bound at run time so that the command always starts
 * and can say when the library is missing.
 *
 *	mibrek lpt_adr podatak
 */

#include <stdio.h>
#include <stdlib.h>

#include <windows.h>

/* The library's port write: address first, value second, 16 bits each. */
typedef void (WINAPI *Out32Proc)(short, short);

int
main(int argc, char *argv[])
{
	HMODULE lib;
	Out32Proc Out32;
	int lpt_adr, podatak;

	lib = LoadLibraryA("inpout32.dll");
	if (lib == NULL) {
		printf("inpout32.dll kopirati u system32 direktorij.\n");
		return -1;
	}

	/* FARPROC only stands for "some function"; void (*)(void) converts quietly. */
	Out32 = reinterpret_cast<Out32Proc>(
	    reinterpret_cast<void (*)(void)>(GetProcAddress(lib, "Out32")));
	if (Out32 == NULL) {
		printf("GetProcAddress for Oup32 Failed.\n");
		return -1;
	}

	if (argc != 3) {
		fprintf(stderr, "potrebno je upisati ulazne parametre,\n"
		    " adresa porta i podatak koji se salje\n"
		    " mibrek lpt_adr podatak");
		exit(1);
	}
	if (sscanf(argv[1], "%i", &lpt_adr) != 1) {
		fprintf(stderr, "nije dobra adresa lpt porta\n");
		exit(1);
	}
	if (sscanf(argv[2], "%i", &podatak) != 1) {
		fprintf(stderr, "drugi parametar je dec ili hex broj\n");
		exit(1);
	}

	/* Only the low 16 bits of each number travel, sign bit included. */
	Out32(static_cast<short>(lpt_adr), static_cast<short>(podatak));

	FreeLibrary(lib);
	return 0;
}
