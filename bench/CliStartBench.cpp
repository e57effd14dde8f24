// The start of murvex-cli as a whole process: `murvex-cli bonds` started, run and waited for.
// The plain program against murvex-cli-pictures, which is what murvex-cli was before the picture
// commands moved out: the same commands linked with Qt and the picture readers.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void StartBonds(benchmark::State& state, const char* program) {
    for (auto _ : state) {
        const pid_t child = ::fork();
        if (child == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::execl(program, program, "bonds", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("murvex-cli bonds failed");
            return;
        }
    }
}

void CliStartPlain(benchmark::State& state) {
    StartBonds(state, MURVEX_CLI);
}
void CliStartWithPictures(benchmark::State& state) {
    StartBonds(state, MURVEX_CLI_PICTURES);
}
BENCHMARK(CliStartPlain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CliStartWithPictures)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
