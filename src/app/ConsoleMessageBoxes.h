#pragma once
// The message boxes of a run without windows: every message goes to standard error, and a
// question is answered No, since nobody is there to say Yes.
#include "core/MessageBoxes.h"

#include <functional>

class ConsoleMessageBoxes : public MessageBoxes {
public:
    explicit ConsoleMessageBoxes(std::function<void(const QString&)> printError)
        : printError_(std::move(printError)) {}
    void information(const QString& text, const QString&) override { printError_(text); }
    void warning(const QString& text, const QString&) override { printError_(text); }
    void critical(const QString& text, const QString&) override { printError_(text); }
    bool askYesNo(const QString& text, const QString&) override {
        printError_(text);
        return false;
    }

private:
    std::function<void(const QString&)> printError_;
};
