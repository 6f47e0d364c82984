#pragma once
// Drives a real window in a test as the clerk would: controls are found by their object names, and
// a control the clerk could not use (hidden, disabled, missing) fails the test instead of being
// pressed.
#include <QAbstractItemView>
#include <QWidget>
#include <string>
#include <vector>

namespace ca::app::test {

// Clicks the button of that name; fails the test if it is missing, hidden or disabled.
void click(QWidget& window, const char* name);
// Triggers the menu or pop-up item of that name; fails the test if it is missing, hidden or disabled.
void trigger(QWidget& window, const char* name);
// The texts the view shows, row by row, so one EXPECT_EQ checks a whole grid.
std::vector<std::vector<std::string>> cells(const QAbstractItemView& view);
// The view's column headings.
std::vector<std::string> headings(const QAbstractItemView& view);

}  // namespace ca::app::test
