// The intro window: the product's name, version and platform beside the
// logo. It closes itself after a few seconds, or at a click on it.
#pragma once

#include "ui/toolkit.h"

class F_Intro : public ui::Form {
    Q_OBJECT
public:
    F_Intro();

    ui::Frame Frame1;
    ui::Label imgLogo;
    ui::Label lblCompanyProduct;
    ui::Label lblProductName;
    ui::Label lblPlatform;
    ui::Label lblVersion;
    ui::Label lblCopyright;
    ui::Label lblCompany;
    ui::Label lblWarning;
    ui::Button K_lukk;
    ui::Timer tid;

    void tid_Timer();
    void K_lukk_Click();
    void imgLogo_Click();
    void lblProductName_Click();
    void Frame1_Click();

protected:
    void Form_Load() override;

private:
    void closeIntro();
};
