// Starts the built command as a process, once per case, in a folder of its own, and checks the
// exact bytes on both streams, the exit status and what the port library recorded.
//
//	run_cases [gtest flags] --command=FILE --recording=FILE --without-out32=FILE
//	          [--preload=FILE] [--musl] [--launcher=FILE]... [--windows] [--random-runs=N]
//	          [--seed=N]
//
// --preload puts a library in LD_PRELOAD (the dlclose spy that lets the doubles see FreeLibrary).
// --musl expects the command's C library to be musl, which reads some numbers otherwise.
// --launcher runs the command through another program (the Wine loader). --windows expects a
// Windows build: text streams end lines with \r\n, WINEPATH holds the library search path, a
// command line holds at most 32767 characters, and the start-up code expands wildcards.

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "cases.hpp"

extern char **environ;

// Names a case in gtest's messages, which otherwise dump its bytes.
static void PrintTo(const Case &c, std::ostream *os)
{
	*os << c.name;
}

namespace {

namespace fs = std::filesystem;

struct Target {
	fs::path command, recording, without_out32;
	std::vector<std::string> launcher;
	std::string preload;
	bool musl = false;
	bool windows = false;
	std::string path_variable = "LD_LIBRARY_PATH";
	size_t long_argument = 65536;
	int random_runs = 500;  // per shard
	unsigned seed = 1;
} target;

struct Output {
	std::string out, err;
	int status;
};

std::string text_stream(std::string_view text)
{
	std::string result;
	for (char c : text) {
		if (c == '\n' && target.windows)
			result += '\r';
		result += c;
	}
	return result;
}

// The five messages, with their streams and statuses; -1 from main is 255 to the parent.
Output expected_output(Outcome outcome)
{
	switch (outcome) {
	case Outcome::written:
		return {"", "", 0};
	case Outcome::no_library:
		return {text_stream("inpout32.dll kopirati u system32 direktorij.\n"), "", 255};
	case Outcome::no_out32:
		return {text_stream("GetProcAddress for Oup32 Failed.\n"), "", 255};
	case Outcome::usage:
		return {"",
			text_stream("potrebno je upisati ulazne parametre,\n"
				    " adresa porta i podatak koji se salje\n"
				    " mibrek lpt_adr podatak"),
			1};
	case Outcome::bad_address:
		return {"", text_stream("nije dobra adresa lpt porta\n"), 1};
	case Outcome::bad_value:
		return {"", text_stream("drugi parametar je dec ili hex broj\n"), 1};
	}
	abort();
}

// What a recording library logs over a run that loaded it.
std::string expected_log(const Expect &expect)
{
	if (expect.outcome != Outcome::written)
		return "exit\n";
	return "Out32 " + std::to_string(expect.port) + " " + std::to_string(expect.value) +
	       "\nFreeLibrary\n";
}

std::optional<std::string> read_file(const fs::path &file)
{
	std::ifstream in(file, std::ios::binary);
	if (!in)
		return std::nullopt;
	std::ostringstream content;
	content << in.rdbuf();
	return content.str();
}

// A folder per run: bin/ holds the command and maybe a library beside it, path/ is on the
// library search path, work/ is the working directory and always holds a recording library.
class Sandbox {
public:
	Sandbox()
	{
		std::string pattern = (fs::temp_directory_path() / "mibrek-XXXXXX").string();
		if (mkdtemp(pattern.data()) == nullptr)
			throw fs::filesystem_error("mkdtemp", pattern, std::error_code(errno, std::generic_category()));
		root = pattern;
		for (const char *dir : {"bin", "path", "work"})
			fs::create_directory(root / dir);
		fs::copy_file(target.command, bin() / target.command.filename());
		place(Library::recording, work());
	}
	~Sandbox()
	{
		if (::testing::Test::HasFailure())
			fprintf(stderr, "kept %s\n", root.c_str());
		else
			fs::remove_all(root);
	}
	Sandbox(const Sandbox &) = delete;
	Sandbox &operator=(const Sandbox &) = delete;

	fs::path bin() const { return root / "bin"; }
	fs::path path() const { return root / "path"; }
	fs::path work() const { return root / "work"; }

	void place(Library library, const fs::path &dir) const
	{
		if (library != Library::none)
			fs::copy_file(library == Library::recording ? target.recording : target.without_out32,
				      dir / "inpout32.dll", fs::copy_options::overwrite_existing);
	}

	static std::optional<std::string> log(const fs::path &dir) { return read_file(dir / "inpout32.log"); }

	Output run(const std::vector<std::string> &args, bool search_path) const
	{
		std::vector<std::string> argv = target.launcher;
		argv.push_back((bin() / target.command.filename()).string());
		argv.insert(argv.end(), args.begin(), args.end());

		std::vector<std::string> env;
		for (char **var = environ; *var != nullptr; var++)
			if (!std::string_view(*var).starts_with(target.path_variable + "=") &&
			    !std::string_view(*var).starts_with("LD_PRELOAD="))
				env.emplace_back(*var);
		if (search_path)
			env.push_back(target.path_variable + "=" + path().string());
		if (!target.preload.empty())
			env.push_back("LD_PRELOAD=" + target.preload);

		const fs::path out = root / "stdout", err = root / "stderr";
		std::vector<char *> c_argv, c_env;
		for (auto &arg : argv)
			c_argv.push_back(arg.data());
		c_argv.push_back(nullptr);
		for (auto &var : env)
			c_env.push_back(var.data());
		c_env.push_back(nullptr);

		// posix_spawn, not fork: copying a sanitizer-sized address space costs more than the run.
		posix_spawn_file_actions_t actions;
		posix_spawn_file_actions_init(&actions);
		posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
		posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
		posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
		posix_spawn_file_actions_addchdir_np(&actions, work().c_str());
		pid_t pid;
		int error = posix_spawn(&pid, c_argv[0], &actions, nullptr, c_argv.data(), c_env.data());
		posix_spawn_file_actions_destroy(&actions);
		int status = 0;
		if (error != 0)
			throw fs::filesystem_error("posix_spawn", argv[0], std::error_code(error, std::generic_category()));
		if (waitpid(pid, &status, 0) != pid)
			throw fs::filesystem_error("waitpid", std::error_code(errno, std::generic_category()));
		return {read_file(out).value_or("<none>"), read_file(err).value_or("<none>"),
			WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)};
	}

private:
	fs::path root;
};

class Cases : public ::testing::TestWithParam<Case> {};

TEST_P(Cases, Run)
{
	const Case &c = GetParam();
	Sandbox box;
	box.place(c.beside, box.bin());
	box.place(c.on_path, box.path());

	Output got = box.run(c.args, c.on_path != Library::none);

	const Expect &expect = target.musl && c.on_musl ? *c.on_musl : c.expect;
	Output want = expected_output(expect.outcome);
	EXPECT_EQ(got.out, want.out);
	EXPECT_EQ(got.err, want.err);
	EXPECT_EQ(got.status, want.status);

	// Only the library that the command should have found records anything.
	const bool beside_loads = c.beside != Library::none;
	const bool path_loads = !beside_loads && c.on_path != Library::none;
	auto want_log = [&](bool loads) -> std::optional<std::string> {
		return loads ? std::optional(expected_log(expect)) : std::nullopt;
	};
	EXPECT_EQ(Sandbox::log(box.bin()), want_log(beside_loads)) << "library beside the command";
	EXPECT_EQ(Sandbox::log(box.path()), want_log(path_loads)) << "library on the search path";
	EXPECT_EQ(Sandbox::log(box.work()), std::nullopt) << "library in the working directory";
}

INSTANTIATE_TEST_SUITE_P(Table, Cases, ::testing::ValuesIn(cases),
			 [](const auto &param) { return std::string(param.param.name); });

// Windows programs expand wildcards in their own start-up code; elsewhere the shell does it.
TEST(Wildcards, ExpandedOnlyOnWindows)
{
	Sandbox box;
	box.place(Library::recording, box.bin());
	fs::copy_file(target.without_out32, box.work() / "other.dll");

	Output got = box.run({"*.dll", "255"}, false);

	// inpout32.dll and other.dll make three arguments.
	Output want = expected_output(target.windows ? Outcome::usage : Outcome::bad_address);
	EXPECT_EQ(got.out, want.out);
	EXPECT_EQ(got.err, want.err);
	EXPECT_EQ(got.status, want.status);
	EXPECT_EQ(Sandbox::log(box.bin()), std::optional<std::string>("exit\n"));
}

// Random argument vectors: whatever the bytes, the run ends in one of the known ways, and the
// port is written exactly once exactly when it reports success.
std::string random_argument(std::mt19937 &rng)
{
	static constexpr std::string_view numberish = " \t+-0123456789abcdefxX8g";
	std::uniform_int_distribution<int> percent(0, 99);
	int roll = percent(rng);
	size_t length = roll < 10 ? 0 : roll < 12 ? target.long_argument : roll < 80 ? rng() % 16 + 1 : rng() % 256 + 1;
	bool number_like = percent(rng) < 70;
	std::string arg(length, ' ');
	for (char &c : arg)
		c = number_like ? numberish[rng() % numberish.size()] : static_cast<char>(rng() % 255 + 1);
	// Most number-like arguments should start like a number, or few runs would get as far as the write.
	if (number_like && length > 0 && percent(rng) < 70)
		arg[0] = static_cast<char>('0' + rng() % 10);
	return arg;
}

class Random : public ::testing::TestWithParam<unsigned> {};

TEST_P(Random, ArgumentVectors)
{
	const unsigned seed = target.seed + GetParam();
	Sandbox box;
	box.place(Library::recording, box.bin());
	std::mt19937 rng(seed);
	const Output failures[] = {expected_output(Outcome::usage), expected_output(Outcome::bad_address),
				   expected_output(Outcome::bad_value)};
	int successes = 0;

	for (int i = 0; i < target.random_runs; i++) {
		std::vector<std::string> args(rng() % 4 == 0 ? rng() % 6 : 2);
		for (auto &arg : args)
			arg = random_argument(rng);
		SCOPED_TRACE("seed " + std::to_string(seed) + ", run " + std::to_string(i));
		fs::remove(box.bin() / "inpout32.log");

		Output got = box.run(args, false);
		std::optional<std::string> log = Sandbox::log(box.bin());
		if (got.status == 0) {
			successes++;
			EXPECT_EQ(got.out, "");
			EXPECT_EQ(got.err, "");
			ASSERT_TRUE(log.has_value());
			int port = 0, value = 0;
			sscanf(log->c_str(), "Out32 %d %d", &port, &value);
			EXPECT_EQ(*log, expected_log(written(static_cast<short>(port), static_cast<short>(value))));
		} else {
			bool known = false;
			for (const Output &failure : failures)
				known |= got.out == failure.out && got.err == failure.err && got.status == failure.status;
			EXPECT_TRUE(known) << "status " << got.status << ", stdout \"" << got.out << "\", stderr \""
					   << got.err << "\"";
			EXPECT_EQ(log, std::optional<std::string>("exit\n"));
		}
		if (args.size() != 2) {
			EXPECT_EQ(got.err, failures[0].err) << "usage for " << args.size() << " arguments";
		}
		if (HasFailure())
			break;
	}
	// A run that never succeeds would prove nothing about the write.
	EXPECT_GT(successes, target.random_runs / 10);
	printf("%d runs, %d successes, seed %u\n", target.random_runs, successes, seed);
}

// Shards with seeds of their own, so that CTest can run them side by side.
INSTANTIATE_TEST_SUITE_P(Shards, Random, ::testing::Range(0u, 4u));

bool option(std::string_view arg, std::string_view name, std::string &value)
{
	if (!arg.starts_with(name) || arg.size() <= name.size() || arg[name.size()] != '=')
		return false;
	value = arg.substr(name.size() + 1);
	return true;
}

} // namespace

int main(int argc, char **argv)
{
	::testing::InitGoogleTest(&argc, argv);
	for (int i = 1; i < argc; i++) {
		std::string_view arg = argv[i];
		std::string value;
		if (option(arg, "--command", value))
			target.command = fs::absolute(value);
		else if (option(arg, "--recording", value))
			target.recording = fs::absolute(value);
		else if (option(arg, "--without-out32", value))
			target.without_out32 = fs::absolute(value);
		else if (option(arg, "--preload", value))
			target.preload = fs::absolute(value).string();
		else if (arg == "--musl")
			target.musl = true;
		else if (option(arg, "--launcher", value))
			target.launcher.push_back(value);
		else if (option(arg, "--path-variable", value))
			target.path_variable = value;
		else if (option(arg, "--random-runs", value))
			target.random_runs = std::stoi(value);
		else if (option(arg, "--seed", value))
			target.seed = static_cast<unsigned>(std::stoul(value));
		else if (arg == "--windows") {
			target.windows = true;
			target.path_variable = "WINEPATH";
			target.long_argument = 5000;  // five of them still fit on one command line
		}
		else {
			fprintf(stderr, "run_cases: unknown argument %s\n", argv[i]);
			return 2;
		}
	}
	return RUN_ALL_TESTS();
}
