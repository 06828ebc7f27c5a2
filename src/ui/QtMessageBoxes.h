#pragma once
#include "core/MessageBoxes.h"

// Modal Qt message boxes over the active window.
class QtMessageBoxes : public MessageBoxes {
public:
    void information(const QString& text, const QString& title) override;
    void warning(const QString& text, const QString& title) override;
    void critical(const QString& text, const QString& title) override;
    bool askYesNo(const QString& text, const QString& title) override;
};
