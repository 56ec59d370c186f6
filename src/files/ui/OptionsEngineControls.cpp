// The engine controls of the "Engines" page: each check box enables its
// engine's maximum box and spin button, and the rules of the engine table keep
// each maximum within its bounds while typing, on leaving the box and on the
// spin buttons.
#include "app/TForm1.h"

#include "app/controls/EditBox.h"
#include "app/controls/SpinButton.h"
#include "files/OptionsEngineRules.h"
#include "platform/WidgetText.h"

#include <QCheckBox>
#include <QPushButton>

using orv::Engine;

QCheckBox* TForm1::engineCheck(Engine e) const
{
    switch (e) {
    case Engine::AltaVista:
        return chkAltaVista;
    case Engine::Infoseek:
        return chkInfoseek;
    case Engine::Excite:
        return chkExcite;
    case Engine::Yahoo:
        return chkYahoo;
    case Engine::NetfindAol:
        return chknetfindAol;
    case Engine::Webcrawler:
        return chkWebcrawler;
    case Engine::Snap:
        return chkSnap;
    case Engine::Magellan:
        return chkMagellan;
    case Engine::PlanetSearch:
        return chkPlanetSearch;
    case Engine::Thunderstone:
        return chkThunderstone;
    }
    return nullptr;
}

orv::EditBox* TForm1::engineMaxBox(Engine e) const
{
    switch (e) {
    case Engine::AltaVista:
        return edAltaMax;
    case Engine::Infoseek:
        return edInfoseekMax;
    case Engine::Excite:
        return edExciteMax;
    case Engine::Yahoo:
        return edYahooMax;
    case Engine::NetfindAol:
        return edNetfindAolMax;
    case Engine::Webcrawler:
        return edWebcrawlerMax;
    case Engine::Snap:
        return edSnapMax;
    case Engine::Magellan:
        return edMagellanMax;
    case Engine::PlanetSearch:
        return edPlanetMax;
    case Engine::Thunderstone:
        return edThunderstoneMax;
    }
    return nullptr;
}

orv::SpinButton* TForm1::engineSpin(Engine e) const
{
    switch (e) {
    case Engine::AltaVista:
        return spinAlta;
    case Engine::Infoseek:
        return spinInfoseek;
    case Engine::Excite:
        return spinExcite;
    case Engine::Yahoo:
        return spinYahoo;
    case Engine::NetfindAol:
        return spinNetfindAol;
    case Engine::Webcrawler:
        return spinWebcrawler;
    case Engine::Snap:
        return spinSnap;
    case Engine::Magellan:
        return spinMagellan;
    case Engine::PlanetSearch:
        return spinPlanet;
    case Engine::Thunderstone:
        return spinThunderstone;
    }
    return nullptr;
}

namespace
{

// Writes `text` into the box only when it differs, as a change of the text
// runs the box's change handler again.
void putText(orv::EditBox* box, const std::string& text)
{
    const QString q = orv::toQ(text);
    if (box->text() != q)
        box->setText(q);
}

} // namespace

void TForm1::engineCheckClick(Engine e)
{
    butOptionsCancel->setEnabled(true);
    butOptionsApply->setEnabled(true);
    const bool on = engineCheck(e)->isChecked();
    engineMaxBox(e)->setEnabled(on);
    engineSpin(e)->setEnabled(on);
}

void TForm1::engineMaxChange(Engine e)
{
    butOptionsCancel->setEnabled(true);
    butOptionsApply->setEnabled(true);
    if (orv::EngineHasTypingRule(e)) {
        orv::EditBox* box = engineMaxBox(e);
        putText(box, orv::EngineTypingRule(e, orv::fromQ(box->text())));
    }
}

void TForm1::engineMaxExit(Engine e)
{
    orv::EditBox* box = engineMaxBox(e);
    putText(box, orv::EngineLeaveRule(e, orv::fromQ(box->text())));
}

void TForm1::engineSpinClick(Engine e, bool up)
{
    orv::EditBox* box = engineMaxBox(e);
    const std::string text = orv::fromQ(box->text());
    const std::optional<std::string> next = up ? orv::EngineSpinUp(e, text) : orv::EngineSpinDown(e, text);
    if (next)
        putText(box, *next);
}

void TForm1::chkAltaVistaClick()
{
    engineCheckClick(Engine::AltaVista);
}
void TForm1::chkExciteClick()
{
    engineCheckClick(Engine::Excite);
}
void TForm1::chknetfindAolClick()
{
    engineCheckClick(Engine::NetfindAol);
}
void TForm1::chkSnapClick()
{
    engineCheckClick(Engine::Snap);
}
void TForm1::chkPlanetSearchClick()
{
    engineCheckClick(Engine::PlanetSearch);
}
void TForm1::chkInfoseekClick()
{
    engineCheckClick(Engine::Infoseek);
}
void TForm1::chkYahooClick()
{
    engineCheckClick(Engine::Yahoo);
}
void TForm1::chkWebcrawlerClick()
{
    engineCheckClick(Engine::Webcrawler);
}
void TForm1::chkMagellanClick()
{
    engineCheckClick(Engine::Magellan);
}
void TForm1::chkThunderstoneClick()
{
    engineCheckClick(Engine::Thunderstone);
}

void TForm1::edAltaMaxChange()
{
    engineMaxChange(Engine::AltaVista);
}
void TForm1::edExciteMaxChange()
{
    engineMaxChange(Engine::Excite);
}
void TForm1::edNetfindAolMaxChange()
{
    engineMaxChange(Engine::NetfindAol);
}
void TForm1::edInfoseekMaxChange()
{
    engineMaxChange(Engine::Infoseek);
}
void TForm1::edPlanetMaxChange()
{
    engineMaxChange(Engine::PlanetSearch);
}
void TForm1::edYahooMaxChange()
{
    engineMaxChange(Engine::Yahoo);
}
void TForm1::edSnapMaxChange()
{
    engineMaxChange(Engine::Snap);
}
void TForm1::edWebcrawlerMaxChange()
{
    engineMaxChange(Engine::Webcrawler);
}
void TForm1::edMagellanMaxChange()
{
    engineMaxChange(Engine::Magellan);
}
void TForm1::edThunderstoneMaxChange()
{
    engineMaxChange(Engine::Thunderstone);
}

void TForm1::edAltaMaxExit()
{
    engineMaxExit(Engine::AltaVista);
}
void TForm1::edExciteMaxExit()
{
    engineMaxExit(Engine::Excite);
}
void TForm1::edNetfindAolMaxExit()
{
    engineMaxExit(Engine::NetfindAol);
}
void TForm1::edInfoseekMaxExit()
{
    engineMaxExit(Engine::Infoseek);
}
void TForm1::edPlanetMaxExit()
{
    engineMaxExit(Engine::PlanetSearch);
}
void TForm1::edYahooMaxExit()
{
    engineMaxExit(Engine::Yahoo);
}
void TForm1::edSnapMaxExit()
{
    engineMaxExit(Engine::Snap);
}
void TForm1::edThunderstoneMaxExit()
{
    engineMaxExit(Engine::Thunderstone);
}

void TForm1::spinAltaUpClick()
{
    engineSpinClick(Engine::AltaVista, true);
}
void TForm1::spinAltaDownClick()
{
    engineSpinClick(Engine::AltaVista, false);
}
void TForm1::spinExciteUpClick()
{
    engineSpinClick(Engine::Excite, true);
}
void TForm1::spinExciteDownClick()
{
    engineSpinClick(Engine::Excite, false);
}
void TForm1::spinNetfindAolUpClick()
{
    engineSpinClick(Engine::NetfindAol, true);
}
void TForm1::spinNetfindAolDownClick()
{
    engineSpinClick(Engine::NetfindAol, false);
}
void TForm1::spinInfoseekUpClick()
{
    engineSpinClick(Engine::Infoseek, true);
}
void TForm1::spinInfoseekDownClick()
{
    engineSpinClick(Engine::Infoseek, false);
}
void TForm1::spinPlanetUpClick()
{
    engineSpinClick(Engine::PlanetSearch, true);
}
void TForm1::spinPlanetDownClick()
{
    engineSpinClick(Engine::PlanetSearch, false);
}
void TForm1::spinYahooUpClick()
{
    engineSpinClick(Engine::Yahoo, true);
}
void TForm1::spinYahooDownClick()
{
    engineSpinClick(Engine::Yahoo, false);
}
void TForm1::spinSnapUpClick()
{
    engineSpinClick(Engine::Snap, true);
}
void TForm1::spinSnapDownClick()
{
    engineSpinClick(Engine::Snap, false);
}
void TForm1::spinWebcrawlerUpClick()
{
    engineSpinClick(Engine::Webcrawler, true);
}
void TForm1::spinWebcrawlerDownClick()
{
    engineSpinClick(Engine::Webcrawler, false);
}
void TForm1::spinMagellanUpClick()
{
    engineSpinClick(Engine::Magellan, true);
}
void TForm1::spinMagellanDownClick()
{
    engineSpinClick(Engine::Magellan, false);
}
void TForm1::spinThunderstoneUpClick()
{
    engineSpinClick(Engine::Thunderstone, true);
}
void TForm1::spinThunderstoneDownClick()
{
    engineSpinClick(Engine::Thunderstone, false);
}
