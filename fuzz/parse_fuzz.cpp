// libFuzzer target for the result-page parsers. The first input byte picks
// the engine, whether the page is a first or a later page of the run, and the
// text of the maximum box; the rest is the page. Besides what the sanitizers
// catch, every URL offered must stand inside one line of the page.
#include "core/Lines.h"
#include "parse/Parse.h"
#include "parse/ParseRecorder.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const char* const kMaxTexts[] = { "20", "0", "-7", "2147483647" };
    const uint8_t selector = data[0];
    const orv::Engine engine = orv::kAllEngines[selector % orv::kEngineCount];
    const bool laterPage = (selector / orv::kEngineCount) % 2 == 1;
    const char* maxText = kMaxTexts[(selector / (2 * orv::kEngineCount)) % 4];

    const std::string_view page(reinterpret_cast<const char*>(data + 1), size - 1);
    const orv::Lines lines = orv::SplitLines(page);

    orv::ParseRecorder recorder;
    recorder.maxTexts.fill(maxText);
    recorder.run.resetPaging();
    if (laterPage)
        recorder.prepareLaterPage(engine);
    orv::ParsePageLines(engine, lines, recorder);

    for (const std::string& url : recorder.urls) {
        if (url.empty())
            continue;
        bool inLine = false;
        for (const std::string& line : lines)
            inLine = inLine || line.find(url) != std::string::npos;
        if (!inLine)
            std::abort();
    }
    if (recorder.reportLines.size() > 1)
        std::abort();
    return 0;
}
