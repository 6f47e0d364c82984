#pragma once
// The settings window while an entry or a download holds the program busy, as a run's test sees it
// from inside the run (on the virtual clock), and the same window once the run has ended.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "WindowDriver.h"
#include "ca/app/common/BusyState.h"
#include "ca/app/main/TfrmConfig.h"
#include "ca/util/IniFile.h"
#include "ca/util/Prompts.h"
#include "ca/util/Settings.h"

namespace ca::app::test {

struct SettingsDuringRun {
    bool saveEnabled = true;
    bool listEnabled = false;  // a command that only reads stays usable
    std::string saveToolTip;
    std::vector<std::string> warnings, questions;
    std::string storedUnit;  // 申报单位 in config.ini after the refused click
};

// Looks at "修改" during the run and lets a click reach it anyway (a shortcut, a handler called from
// code), which must change nothing.
inline SettingsDuringRun probeSettings(TfrmConfig& dialog, ScriptedPrompts& prompts, IniFile& ini) {
    SettingsDuringRun seen;
    auto* save = dialog.findChild<QPushButton*>("Button2");
    seen.saveEnabled = save->isEnabled();
    seen.listEnabled = dialog.findChild<QPushButton*>("Button3")->isEnabled();
    seen.saveToolTip = save->toolTip().toStdString();
    prompts.clear();
    emit save->clicked();
    seen.warnings = prompts.texts("warning");
    seen.questions = prompts.texts("question");
    seen.storedUnit = ini.ReadString(settings::kSection, settings::kDeclaringUnit, "");
    prompts.clear();
    return seen;
}

// What the run's test expects of the probe: refused, with the reason, nothing written.
inline void expectRefused(const SettingsDuringRun& seen, const std::string& unitBefore) {
    EXPECT_FALSE(seen.saveEnabled);
    EXPECT_EQ(seen.saveToolTip, kBusyRefusal);
    EXPECT_TRUE(seen.listEnabled);
    EXPECT_EQ(seen.warnings, std::vector<std::string>{kBusyRefusal});
    EXPECT_TRUE(seen.questions.empty()) << "the refused command never started";
    EXPECT_EQ(seen.storedUnit, unitBefore);
}

// After the run "修改" is back, as it was, and writes the field typed before the run.
inline void expectSaveWorks(TfrmConfig& dialog, ScriptedPrompts& prompts, IniFile& ini) {
    auto* save = dialog.findChild<QPushButton*>("Button2");
    EXPECT_TRUE(save->toolTip().isEmpty());
    prompts.clear();
    prompts.answerQuestion(Button::Yes);
    click(dialog, "Button2");
    EXPECT_EQ(prompts.texts("plain"), std::vector<std::string>{"修改成功！"});
    EXPECT_EQ(ini.ReadString(settings::kSection, settings::kDeclaringUnit, ""),
              dialog.fieldFor(settings::kDeclaringUnit)->text().toStdString());
    prompts.clear();
}

}  // namespace ca::app::test
