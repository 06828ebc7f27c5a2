#pragma once
// Every message box and yes/no question goes through this seam, so tests can see what
// was shown and answer the questions.
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void information(const QString& text, const QString& title) = 0; // completions
    virtual void warning(const QString& text, const QString& title) = 0;     // exclamation icon
    virtual void critical(const QString& text, const QString& title) = 0;    // critical-stop icon
    virtual bool askYesNo(const QString& text, const QString& title) = 0;    // exclamation, Yes/No
};

// Records what was shown and answers questions from a queue (Yes when the queue is empty).
class ScriptedMessageBoxes : public MessageBoxes {
public:
    enum class Kind { Information, Warning, Critical, Question };
    struct Shown {
        Kind kind;
        QString text;
        QString title;
    };
    std::vector<Shown> shown;
    std::deque<bool> answers;

    void information(const QString& text, const QString& title) override {
        shown.push_back({Kind::Information, text, title});
    }
    void warning(const QString& text, const QString& title) override {
        shown.push_back({Kind::Warning, text, title});
    }
    void critical(const QString& text, const QString& title) override {
        shown.push_back({Kind::Critical, text, title});
    }
    bool askYesNo(const QString& text, const QString& title) override {
        shown.push_back({Kind::Question, text, title});
        if (answers.empty()) return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    QString lastText() const { return shown.empty() ? QString() : shown.back().text; }
    void clear() { shown.clear(); }
};
