#pragma once
#include <QString>

#include <functional>

class QAbstractButton;
class QWidget;

// Calls handler for the keys Enter and Return pressed in the watched widget.
void onEnter(QWidget* w, std::function<void()> handler);
// Installs a key filter: allowed(key, text) decides; Enter goes to onEnter handlers first.
void filterKeys(QWidget* w, std::function<bool(int key, const QString& text)> allowed);
// Runs handler when w loses the focus.
void onFocusOut(QWidget* w, std::function<void()> handler);

// A dialog's push button: hand cursor, never the dialog's default button, and pressed by
// Enter or Return (without modifiers) when it has the focus, as by Space.
void dialogButton(QAbstractButton* b);
