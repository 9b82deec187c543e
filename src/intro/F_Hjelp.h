// The about window: one large picture and an OK button.
#pragma once

#include "ui/toolkit.h"

class F_Hjelp : public ui::Form {
    Q_OBJECT
public:
    F_Hjelp();

    ui::Label Image1;
    ui::Button Command1;

    void Command1_Click();
};
