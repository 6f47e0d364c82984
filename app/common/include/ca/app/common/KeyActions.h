#pragma once
// Enter and Esc for windows that are plain widgets, not QDialogs. Each key clicks a button, so the
// command runs the way a click runs it: inside the guard, and refused while busy when it writes.
#include <QAbstractButton>
#include <initializer_list>

namespace ca::app {

// Enter (or Return) in any of the fields clicks the button: a query window's filter fields run its
// query. The fields' own parts (a date box's editor) count as the field.
void enterClicks(QAbstractButton* button, std::initializer_list<QWidget*> fields);

// Esc anywhere in the window closes it (hides it: windows are kept).
void escapeCloses(QWidget* window);

// A small dialog: Enter clicks `confirm`, or the button that has the focus; Esc clicks `closeButton`.
void dialogKeys(QWidget* window, QAbstractButton* confirm, QAbstractButton* closeButton);

}  // namespace ca::app
