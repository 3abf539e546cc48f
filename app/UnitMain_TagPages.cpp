// The tag pages, the tag-version lights and the MPEG information panel.

#include "UnitMain.h"

#include <QLabel>

void TFormMain::SetTagLights(bool V10, bool V11, bool V22, bool V23, bool V24)
{
    ImgLightGreenV10->setVisible(V10);
    ImgLightGreenV11->setVisible(V11);
    imgLightGreenV22->setVisible(V22);
    ImgLightGreenV23->setVisible(V23);
    ImgLightGreenV24->setVisible(V24);
}
