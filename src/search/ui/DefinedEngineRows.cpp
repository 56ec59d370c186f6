// The defined engines on the "Engines" tab: a check box and a maximum per
// engine in a list that scrolls, kept in defined-engines.txt beside
// search.txt.
#include "app/TForm1.h"

#include "app/controls/NumberBox.h"
#include "core/Errors.h"
#include "core/Lines.h"
#include "core/Text.h"
#include "files/DefinedEngineSettings.h"
#include "files/OptionsFile.h"
#include "platform/WidgetText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <map>

using namespace orv;

void TForm1::CreateDefinedEngineList()
{
    catalogue = SearchCatalogue::load(programFolder());
    auto* grid = qobject_cast<QGridLayout*>(TabSheet2->layout());

    auto* scroll = new QScrollArea(TabSheet2);
    scroll->setObjectName(QStringLiteral("scrollDefinedEngines"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::StyledPanel);
    definedEngineList = new QWidget(scroll);
    definedEngineList->setObjectName(QStringLiteral("DefinedEngineList"));
    auto* rows = new QGridLayout(definedEngineList);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setVerticalSpacing(0);
    int r = 0;
    for (const CatalogueEntry* entry : catalogue.definedEntries()) {
        DefinedEngineControls controls;
        controls.check = new QCheckBox(toQ(entry->name), definedEngineList);
        controls.check->setObjectName(toQ("chkDefined" + entry->name));
        controls.maxBox = new NumberBox(definedEngineList);
        controls.maxBox->setObjectName(toQ("edDefinedMax" + entry->name));
        controls.maxBox->setRange(kDefinedMaxMin, kDefinedMaxMax);
        controls.maxBox->setSingleStep(10);
        controls.maxBox->setValue(kDefinedMaxDefault);
        controls.maxBox->setFixedWidth(56);
        controls.maxBox->setEnabled(false);
        QCheckBox* check = controls.check;
        NumberBox* box = controls.maxBox;
        QObject::connect(check, &QCheckBox::toggled, this, [this, box](bool on) {
            box->setEnabled(on);
            butOptionsCancel->setEnabled(true);
            butOptionsApply->setEnabled(true);
        });
        QObject::connect(box, &QSpinBox::valueChanged, this, [this] {
            butOptionsCancel->setEnabled(true);
            butOptionsApply->setEnabled(true);
        });
        rows->addWidget(check, r, 0);
        rows->addWidget(box, r, 1);
        definedControls.push_back(controls);
        ++r;
    }
    if (r == 0)
        rows->addWidget(new QLabel(QStringLiteral("No engine definitions found"), definedEngineList), 0, 0);
    rows->setRowStretch(r, 1);
    scroll->setWidget(definedEngineList);
    scroll->setMinimumWidth(200);
    if (grid)
        grid->addWidget(scroll, 0, 9, 5, 1);
}

void TForm1::ReadDefinedEngineSettings(bool newUserFolder)
{
    std::map<std::string, DefinedEngineSetting> stored;
    const std::string path = programFolder() + kDefinedSettingsFileName;
    if (FileExists(path)) {
        try {
            stored = DefinedSettingsFromLines(LoadLines(path));
        } catch (const Exception&) {
            // An unreadable file leaves the defaults, and is written anew.
        }
    }
    const std::vector<const CatalogueEntry*> defined = catalogue.definedEntries();
    for (size_t i = 0; i < defined.size() && i < definedControls.size(); ++i) {
        const EngineDefinition& def = catalogue.definitionOf(*defined[i]);
        const auto found = stored.find(LowerCase(def.name));
        const DefinedEngineSetting setting
            = found != stored.end() ? found->second : DefaultDefinedSetting(def.name, def.disabled, newUserFolder);
        const QSignalBlocker quietCheck(definedControls[i].check);
        const QSignalBlocker quietBox(definedControls[i].maxBox);
        definedControls[i].check->setChecked(setting.asked);
        definedControls[i].maxBox->setValue(setting.maximum);
        definedControls[i].maxBox->setEnabled(setting.asked);
    }
}

void TForm1::SaveDefinedEngineSettings()
{
    const std::string path = programFolder() + kDefinedSettingsFileName;
    if (definedControls.empty() && !FileExists(path))
        return; // nothing to keep
    std::vector<DefinedEngineSetting> settings;
    const std::vector<const CatalogueEntry*> defined = catalogue.definedEntries();
    for (size_t i = 0; i < defined.size() && i < definedControls.size(); ++i)
        settings.push_back(
            { defined[i]->name, definedControls[i].check->isChecked(), definedControls[i].maxBox->value() });
    // The lines of engines whose definitions are gone for now (a file moved
    // away, a definition broken) stay for when they are back.
    std::map<std::string, DefinedEngineSetting> stored;
    if (FileExists(path)) {
        try {
            stored = DefinedSettingsFromLines(LoadLines(path));
        } catch (const Exception&) {
        }
    }
    for (const auto& [key, setting] : stored)
        if (!catalogue.find(setting.name))
            settings.push_back(setting);
    const Lines lines = DefinedSettingsToLines(settings);
    // Unchanged settings are not written again, as search.txt is not.
    try {
        if (FileExists(path) && LoadLines(path) == lines)
            return;
    } catch (const EInOutError&) {
    }
    try {
        SaveLines(path, lines);
    } catch (const EInOutError&) {
        throw EInOutError(CannotCreateFileText(path), 0);
    }
}
