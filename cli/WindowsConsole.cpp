// murvex-cli's entry on Windows: the wide command line as UTF-8 arguments and the standard
// streams in binary mode, so that "\r\n" in a pattern stays two bytes and a PNG is not changed.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

int MurvexMain(int argc, char** argv);

namespace {

std::string Utf8(const wchar_t* wide) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();  // the terminator counted in size
    return out;
}

}  // namespace

extern "C" int wmain(int argc, wchar_t** wargv) {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(Utf8(wargv[i]));
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return MurvexMain(argc, argv.data());
}
