// The main window's own logic, run in-process.
#include <gtest/gtest.h>

#include "../../app/Unit1.h"

namespace {

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterProgramClasses();
        application.OnReport = [this](const std::string& text) { reports.push_back(text); };
        application.Initialize();
        BlinkPhase = false;
        application.CreateForm(Form1);
    }
    fw::TApplication application;
    std::vector<std::string> reports;
};

TEST_F(Form1Test, PromptStartsRedAndAlternatesWithEachTick) {
    EXPECT_EQ(fw::clRed, Form1->Label1->Font.Color());
    const fw::TColor expected[] = {fw::clBlue, fw::clRed, fw::clBlue, fw::clRed};
    for (fw::TColor colour : expected) {
        Form1->Timer1Timer(Form1->Timer1);
        EXPECT_EQ(colour, Form1->Label1->Font.Color());
    }
    EXPECT_EQ(500u, Form1->Timer1->Interval());
    EXPECT_TRUE(Form1->Timer1->Enabled());
}

TEST_F(Form1Test, EitherDisplayItemSwitchesToTheOtherMode) {
    Form1->N6->SetChecked(true);
    Form1->N7->SetChecked(false);
    for (fw::TMenuItem* clicked : {Form1->N6, Form1->N6, Form1->N7, Form1->N7}) {
        bool wasStandard = Form1->N6->Checked();
        clicked->Click();
        EXPECT_EQ(!wasStandard, Form1->N6->Checked());
        EXPECT_NE(Form1->N6->Checked(), Form1->N7->Checked()) << "exactly one mode is checked";
    }
    bool withdraw = Form1->task->Checked();
    Form1->task->Click();
    EXPECT_EQ(!withdraw, Form1->task->Checked());
}

TEST_F(Form1Test, DescriptionBuildsTheMenus) {
    EXPECT_EQ(Form1->MainMenu1, Form1->Menu);
    ASSERT_EQ(3u, Form1->MainMenu1->Items().size());
    EXPECT_EQ("ファイル", Form1->N1->Caption());
    EXPECT_EQ((std::vector<fw::TMenuItem*>{Form1->N2, Form1->N3, Form1->Exit1}), Form1->N1->Items());
    EXPECT_EQ((std::vector<fw::TMenuItem*>{Form1->N5, Form1->task}), Form1->N4->Items());
    EXPECT_EQ((std::vector<fw::TMenuItem*>{Form1->N6, Form1->N7}), Form1->N5->Items());
    EXPECT_EQ((std::vector<fw::TMenuItem*>{Form1->N8, Form1->N9, Form1->N11, Form1->About2, Form1->N10,
                                           Form1->Exit2}),
              Form1->PopupMenu1->Items());
    EXPECT_EQ("スクリーンセーバー|*.scr", Form1->OpenDialog1->Filter);
    EXPECT_EQ(static_cast<unsigned>(fw::ofHideReadOnly), Form1->OpenDialog1->Options);
    EXPECT_EQ(Form1, application.MainForm());
    EXPECT_TRUE(reports.empty());
}

}  // namespace
