// The animation and the countdown panel that take the logo's place while a
// run is going.
#include "app/TForm1.h"

#include "platform/ui/Animate.h"
#include "rcadigi/Rcadigi.h"

#include <QLabel>

void TForm1::ShowRunIndicators()
{
    Animate1->setStartFrame(1);
    Animate1->setActive(true);
    Animate1->show();
    imgLogo->hide();
    RCADigital1->show();
}

void TForm1::HideRunIndicators()
{
    Animate1->setActive(false);
    Animate1->hide();
    imgLogo->show();
    RCADigital1->hide();
}

void TForm1::ShowCountdown(int seconds)
{
    RCADigital1->setValue(seconds);
}
