// quillory-cli: the diary's command-line companion.
#include <cstdio>

int main(int argc, char** argv)
{
    std::fprintf(stderr, "usage: quillory-cli [--folder DIR] COMMAND ...\n");
    return 2;
}
