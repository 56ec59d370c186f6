// The main window's side of result-page parsing: the parse context over its
// controls and run state, the ten parser methods the search run calls, the
// report window and the command that shows it.
#include "app/TForm1.h"
#include "app/controls/EditBox.h"
#include "parse/Parse.h"
#include "parse/ui/TfrmStats.h"
#include "platform/WidgetText.h"
#include "platform/ui/DesktopLook.h"

#include <QLabel>

namespace
{

class FormParseContext final : public orv::ParseContext
{
public:
    explicit FormParseContext(TForm1& form)
        : form_(form)
    {
    }

    orv::RunState& runState() override { return form_.run; }

    std::string engineMaxText(orv::Engine engine) override { return orv::fromQ(form_.engineMaxBox(engine)->text()); }

    void setActivity(const std::string& text) override
    {
        // Parsing does not return to the event loop, so paint the text now.
        form_.lblCurrentEngine->setText(orv::toQ(text));
        form_.lblCurrentEngine->repaint();
    }

    void addReportLine(const std::string& line) override
    {
        form_.frmStats->addReportLine(line);
        if (form_.searchingEngine)
            form_.yield.reportLine(*form_.searchingEngine, line);
    }

    void offerUrl(const std::string& url) override { form_.UpdateMasterUrlList(url); }

private:
    TForm1& form_;
};

} // namespace

TfrmStats* TForm1::NewStatsWindow(TForm1* owner)
{
    auto* window = new TfrmStats(owner); // a window of its own, owned and released by the main window
    orv::CloseOnEscape(window);
    return window;
}

orv::ParseContext& TForm1::parseContext()
{
    if (!parseContext_)
        parseContext_ = std::make_unique<FormParseContext>(*this);
    return *parseContext_;
}

void TForm1::RunParser(const std::function<void()>& parse)
{
    // However the parser ends, the raw count shows every URL it offered.
    struct ShowCountAtEnd {
        TForm1& form;
        ~ShowCountAtEnd() { form.ShowPendingRawCount(); }
    } showCount { *this };
    parse();
}

void TForm1::ParseAltaVista()
{
    RunParser([this] { orv::ParseAltaVista(parseContext()); });
}
void TForm1::ParseInfoseek()
{
    RunParser([this] { orv::ParseInfoseek(parseContext()); });
}
void TForm1::ParseExcite()
{
    RunParser([this] { orv::ParseExcite(parseContext()); });
}
void TForm1::ParseYahoo()
{
    RunParser([this] { orv::ParseYahoo(parseContext()); });
}
void TForm1::ParseNetfindAol()
{
    RunParser([this] { orv::ParseNetfindAol(parseContext()); });
}
void TForm1::ParseWebcrawler()
{
    RunParser([this] { orv::ParseWebcrawler(parseContext()); });
}
void TForm1::ParseSnap()
{
    RunParser([this] { orv::ParseSnap(parseContext()); });
}
void TForm1::ParseMagellan()
{
    RunParser([this] { orv::ParseMagellan(parseContext()); });
}
void TForm1::ParsePlanetSearch()
{
    RunParser([this] { orv::ParsePlanetSearch(parseContext()); });
}
void TForm1::ParseThunderstone()
{
    RunParser([this] { orv::ParseThunderstone(parseContext()); });
}

void TForm1::ParseEngine(orv::Engine engine)
{
    RunParser([this, engine] { orv::ParseEnginePage(engine, parseContext()); });
}

void TForm1::mnuFileStatsClick()
{
    orv::ShowOverOwner(frmStats, this);
}
