// The options file and its controls: start-up, reading, saving, OK and Apply.
#include "app/TForm1.h"

#include "app/controls/EditBox.h"
#include "app/controls/NumberBox.h"
#include "app/controls/PageControl.h"
#include "app/controls/SpinButton.h"
#include "files/DefinedEngineSettings.h"
#include "core/Text.h"
#include "files/OptionsFile.h"
#include "platform/WidgetText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace
{

std::string textOf(const orv::EditBox* box)
{
    return orv::fromQ(box->text());
}

} // namespace

void TForm1::OptionsCreate()
{
    for (orv::Engine e : orv::kAllEngines) {
        engineMaxBox(e)->setEnabled(false);
        engineSpin(e)->setEnabled(false);
    }
    butOptionsCancel->setEnabled(false);
    butOptionsApply->setEnabled(false);
    // A missing or short file is reported, but the browsers are still found
    // and a complete file is written from what the controls hold.
    std::exception_ptr readError;
    try {
        ReadOptions();
    } catch (...) {
        readError = std::current_exception();
    }
    // The defined engines keep their own file; without it, a folder that
    // asks none of the drawn engines (whose hosts are gone) is a new user's.
    bool drawnAsked = false;
    for (orv::Engine e : orv::kAllEngines)
        drawnAsked = drawnAsked || engineCheck(e)->isChecked();
    ReadDefinedEngineSettings(!drawnAsked && !orv::FileExists(programFolder() + orv::kDefinedSettingsFileName));
    FindDefaultBrowser();
    SaveOptions();
    if (readError)
        std::rethrow_exception(readError);
}

void TForm1::ReadOptions()
{
    for (orv::Engine e : orv::kAllEngines)
        engineCheck(e)->setChecked(false);
    chkUseHttpProxy->setChecked(false);

    const std::string path = programFolder() + orv::kOptionsFileName;
    orv::Lines lines;
    try {
        lines = orv::LoadTextLines(path);
    } catch (const orv::EInOutError& e) {
        throw orv::WithDetail(orv::EInOutError(orv::CannotOpenFileText(path), 0), "cannot read " + e.detail());
    }

    // Lines before a missing one still reach their controls.
    orv::Options options;
    for (orv::Engine e : orv::kAllEngines)
        options.maxOf(e) = textOf(engineMaxBox(e));
    options.proxy = textOf(edHttpProxy);
    options.proxyPort = textOf(edHttpProxyPort);
    options.maxSeconds = textOf(edMaxSeconds);
    options.parallelFetches = spinParallelFetches->value();
    options.http11 = chkHttp11->isChecked();
    options.matchOn = CurrentMatchOn();
    std::exception_ptr shortFile;
    try {
        orv::OptionsFromLines(lines, options);
    } catch (const orv::EListError& e) {
        shortFile = std::make_exception_ptr(orv::WithDetail(orv::EListError(e.what()),
            path + ": line " + orv::IntToStr(static_cast<long long>(lines.size()) + 1) + " is missing; the file has "
                + orv::IntToStr(static_cast<long long>(lines.size())) + " of its "
                + orv::IntToStr(orv::kOptionsRequiredLineCount) + " lines"));
    }

    for (orv::Engine e : orv::kOptionsFlagOrder)
        engineCheck(e)->setChecked(options.isSelected(e));
    chkUseHttpProxy->setChecked(options.useProxy);
    edHttpProxy->setText(orv::toQ(options.proxy));
    edHttpProxyPort->setText(orv::toQ(options.proxyPort));
    edMaxSeconds->setText(orv::toQ(options.maxSeconds));
    for (orv::Engine e : orv::kOptionsMaxOrder)
        engineMaxBox(e)->setText(orv::toQ(options.maxOf(e)));
    spinParallelFetches->setValue(options.parallelFetches);
    chkHttp11->setChecked(options.http11);
    cboMatchOn->setCurrentIndex(options.matchOn == orv::MatchOn::PageText ? 0 : 1);
    if (shortFile)
        std::rethrow_exception(shortFile);
}

void TForm1::SaveOptions()
{
    orv::Options options;
    for (orv::Engine e : orv::kAllEngines) {
        options.selected[static_cast<size_t>(orv::engineIndex(e))] = engineCheck(e)->isChecked();
        options.maxOf(e) = textOf(engineMaxBox(e));
    }
    options.useProxy = chkUseHttpProxy->isChecked();
    if (!options.useProxy) {
        edHttpProxy->setEnabled(false);
        edHttpProxyPort->setEnabled(false);
    }
    applyProxyToClient(options.useProxy ? textOf(edHttpProxy) : std::string(),
        options.useProxy ? textOf(edHttpProxyPort) : std::string());
    options.proxy = textOf(edHttpProxy);
    options.proxyPort = textOf(edHttpProxyPort);
    options.maxSeconds = textOf(edMaxSeconds);
    options.parallelFetches = spinParallelFetches->value();
    options.http11 = chkHttp11->isChecked();
    options.matchOn = CurrentMatchOn();

    const std::string path = programFolder() + orv::kOptionsFileName;
    // Unchanged settings are not written, so that a read-only program
    // folder or a full disk costs nothing until something changes.
    bool unchanged = false;
    try {
        unchanged = orv::OptionsFileHolds(orv::LoadLines(path), options);
    } catch (const orv::EInOutError&) {
    }
    if (!unchanged) {
        try {
            orv::SaveLines(path, orv::OptionsToLines(options));
        } catch (const orv::EInOutError& e) {
            throw orv::WithDetail(orv::EInOutError(orv::CannotCreateFileText(path), 0), "cannot write " + e.detail());
        }
    }
    SaveDefinedEngineSettings();
}

void TForm1::butOptionsOKClick()
{
    SaveOptions();
    Page1->setCurrentWidget(TabSheet1);
    placePage1(100);
    butProxyOk->setEnabled(false);
}

void TForm1::butOptionsApplyClick()
{
    butOptionsApply->setEnabled(false);
    butOptionsCancel->setEnabled(false);
    SaveOptions();
}

void TForm1::chkUseHttpProxyClick()
{
    butProxyOk->setEnabled(true);
    butOptionsCancel->setEnabled(true);
    butOptionsApply->setEnabled(true);
    const bool on = chkUseHttpProxy->isChecked();
    edHttpProxy->setEnabled(on);
    edHttpProxyPort->setEnabled(on);
}

void TForm1::applyProxyToClient(const std::string& host, const std::string& port)
{
    clientProxy = host;
    clientProxyPort = port;
    Httpcli1.Proxy = host;
    Httpcli1.ProxyPort = port;
}
