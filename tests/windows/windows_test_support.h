#pragma once
// Shared by the window tests: the QApplication with the shipped skins and English texts (set up once by
// windows_test_environment.cpp), a private user data folder, and helpers that find and drive the top-level
// windows the code under test opens by itself.

#include <QString>
#include <QWidget>
#include <functional>

#include "uilib/uilib.h"

namespace norvane::app::test {

// The shipped skin index and the English texts, as every test starts.
void ResetResources();
// The private folder that stands for $XDG_DATA_HOME during the tests.
QString DataHome();

// The visible top-level window whose object name (the window class name) is `className`; null when none.
QWidget* FindTopLevel(const QString& className);
// The control of that name inside `window`, as a widget (first in depth-first order).
QWidget* FindChildNamed(QWidget* window, const QString& name);
// Runs `action` once a visible window of `className` exists (from inside the modal loop that shows it).
// `action` gets the window's host widget; it is not run when the window never shows within two seconds.
void WhenShown(const QString& className, std::function<void(QWidget*)> action);
// Clicks the named control of `window` with the left button.
void Click(QWidget* window, const QString& name);
bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 2000);

}  // namespace norvane::app::test
