// orvalen_helpfile MANPAGE OUT.html
// Writes the help file (an HTML page) from the manual page's source.
#include "browse/HelpFile.h"
#include "core/Errors.h"
#include "core/Lines.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvalen_helpfile MANPAGE OUT.html\n");
        return 2;
    }
    try {
        orv::SaveFileBytes(argv[2], orv::ManPageToHtml(orv::LoadLines(argv[1])));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvalen_helpfile: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
