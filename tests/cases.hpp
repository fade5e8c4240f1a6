// Every case of the command, written once and run against each platform's build.
#pragma once

#include <optional>
#include <string>
#include <vector>

// What sits in a folder where the command may look for its port library.
enum class Library { none, recording, without_out32 };

// How a run ends; each failure has its fixed message, stream and status.
enum class Outcome { written, no_library, no_out32, usage, bad_address, bad_value };

struct Expect {
	Outcome outcome;
	short port = 0, value = 0;
};

constexpr Expect written(short port, short value) { return {Outcome::written, port, value}; }
constexpr Expect fails(Outcome outcome) { return {outcome}; }

struct Case {
	const char *name;
	std::vector<std::string> args;  // after the command name
	Expect expect;
	Library beside = Library::recording;  // in the executable's folder
	Library on_path = Library::none;      // in a folder on the library search path
	std::optional<Expect> on_musl = {};   // where musl's %i reads the arguments otherwise
};

// Every run also has a recording library in its working directory, which must never load.
inline const std::vector<Case> cases = {
	// The library is bound before the arguments are looked at.
	{"no_library_no_arguments", {}, fails(Outcome::no_library), Library::none},
	{"no_library_bad_arguments", {"LPT1", "ff"}, fails(Outcome::no_library), Library::none},
	{"no_library_good_arguments", {"0x378", "255"}, fails(Outcome::no_library), Library::none},
	{"no_out32_no_arguments", {}, fails(Outcome::no_out32), Library::without_out32},
	{"no_out32_bad_arguments", {"LPT1", "ff"}, fails(Outcome::no_out32), Library::without_out32},
	{"no_out32_good_arguments", {"0x378", "255"}, fails(Outcome::no_out32), Library::without_out32},

	// Where the library is found: beside the executable first, then the search path.
	{"library_on_search_path", {"0x378", "255"}, written(888, 255), Library::none, Library::recording},
	{"beside_executable_wins", {"0x378", "255"}, written(888, 255), Library::recording, Library::recording},
	{"beside_executable_wins_without_out32", {"0x378", "255"}, fails(Outcome::no_out32),
	 Library::without_out32, Library::recording},

	// Exactly two arguments; nothing is parsed otherwise.
	{"no_arguments", {}, fails(Outcome::usage)},
	{"one_argument", {"0x378"}, fails(Outcome::usage)},
	{"three_arguments", {"0x378", "255", "1"}, fails(Outcome::usage)},
	{"five_arguments", {"LPT1", "ff", "", "x", "0"}, fails(Outcome::usage)},
	{"two_empty_arguments", {"", ""}, fails(Outcome::bad_address)},

	// The address: decimal, hex, octal, and what the conversion makes of the rest.
	{"address_hex", {"0x378", "0"}, written(888, 0)},
	{"address_hex_upper", {"0X378", "0"}, written(888, 0)},
	{"address_decimal", {"888", "0"}, written(888, 0)},
	{"address_octal", {"01570", "0"}, written(888, 0)},
	{"address_octal_stops_at_8", {"0378", "0"}, written(31, 0)},
	{"address_08_is_zero", {"08", "0"}, written(0, 0)},
	{"address_letters", {"LPT1", "0"}, fails(Outcome::bad_address)},
	{"address_empty", {"", "0"}, fails(Outcome::bad_address)},
	{"address_sign_only", {"-", "0"}, fails(Outcome::bad_address)},
	{"address_blank", {"   ", "0"}, fails(Outcome::bad_address)},
	{"address_trailing_text", {"888abc", "0"}, written(888, 0)},
	{"address_leading_space", {" 12", "0"}, written(12, 0)},
	{"address_leading_tab", {"\t0x378", "0"}, written(888, 0)},
	{"address_plus", {"+7", "0"}, written(7, 0)},
	{"address_minus", {"-1", "0"}, written(-1, 0)},
	{"address_above_16_bits", {"66424", "0"}, written(888, 0)},
	{"address_above_16_bits_hex", {"0x10378", "0"}, written(888, 0)},
	{"address_below_16_bits", {"-64648", "0"}, written(888, 0)},
	{"address_bit_15", {"0xd010", "0"}, written(-12272, 0)},
	{"address_bit_15_only", {"0x8000", "0"}, written(-32768, 0)},
	{"address_all_16_bits", {"65535", "0"}, written(-1, 0)},

	// The value, read the same way and passed with all 16 bits.
	{"value_decimal", {"0x378", "255"}, written(888, 255)},
	{"value_hex", {"0x378", "0xff"}, written(888, 255)},
	{"value_hex_without_prefix", {"0x378", "ff"}, fails(Outcome::bad_value)},
	{"value_empty", {"0x378", ""}, fails(Outcome::bad_value)},
	{"value_octal", {"0x378", "0377"}, written(888, 255)},
	{"value_trailing_text", {"0x378", "255abc"}, written(888, 255)},
	{"value_hex_trailing_text", {"0x378", "0x1fg"}, written(888, 31)},
	{"value_leading_space", {"0x378", " 12"}, written(888, 12)},
	{"value_plus", {"0x378", "+7"}, written(888, 7)},
	{"value_minus_one", {"0x378", "-1"}, written(888, -1)},
	{"value_wider_than_a_byte", {"0x378", "0x1ff"}, written(888, 511)},
	{"value_above_16_bits", {"0x378", "0x100ff"}, written(888, 255)},
	{"value_bit_15", {"0x378", "0x8001"}, written(888, -32767)},

	// A 0x prefix without hex digits: glibc and msvcrt read the 0, musl rejects the number.
	{"address_bare_0x", {"0x", "255"}, written(0, 255), Library::recording, Library::none,
	 fails(Outcome::bad_address)},
	{"value_0x_then_letter", {"0x378", "0xg"}, written(888, 0), Library::recording, Library::none,
	 fails(Outcome::bad_value)},
	{"value_0x_then_sign", {"0x378", "0x-1"}, written(888, 0), Library::recording, Library::none,
	 fails(Outcome::bad_value)},

	// The address is read first, so it is the one reported.
	{"both_bad", {"LPT1", "ff"}, fails(Outcome::bad_address)},
	{"address_bad_value_good", {"x", "255"}, fails(Outcome::bad_address)},
};
