// murvex-cli: the batch front end; its command line is CommandLine.cpp.
int MurvexMain(int argc, char** argv);

#ifndef _WIN32
int main(int argc, char** argv) {
    return MurvexMain(argc, argv);
}
#endif
