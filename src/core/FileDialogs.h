#pragma once
// File questions go through this seam, so tests can choose the file (or cancel) and see what
// was asked.
#include <QString>
#include <deque>
#include <optional>
#include <vector>

// Filters are written as the program's texts give them: description and pattern pairs joined
// by "|", patterns separated by ";", for example "格式(*.xkg)|*.xkg".
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The file to read, or none when the operator cancels.
    virtual std::optional<QString> openFileName(const QString& caption, const QString& proposed,
                                                const QString& filter) = 0;
    // The file to write, or none when the operator cancels. `proposed` is a folder, a name, or a
    // path; the program adds no extension to what the operator typed. The dialog does not ask
    // whether to replace a file that exists: that question is the caller's.
    virtual std::optional<QString> saveFileName(const QString& caption, const QString& proposed,
                                                const QString& filter) = 0;
};

// Records what was asked and answers from a queue (a cancel when the queue is empty).
class ScriptedFileDialogs : public FileDialogs {
public:
    enum class Kind { Open, Save };
    struct Asked {
        Kind kind;
        QString caption;
        QString proposed;
        QString filter;
    };
    std::vector<Asked> asked;
    std::deque<std::optional<QString>> answers; // std::nullopt is a cancel

    std::optional<QString> openFileName(const QString& caption, const QString& proposed,
                                        const QString& filter) override {
        return answer({Kind::Open, caption, proposed, filter});
    }
    std::optional<QString> saveFileName(const QString& caption, const QString& proposed,
                                        const QString& filter) override {
        return answer({Kind::Save, caption, proposed, filter});
    }

private:
    std::optional<QString> answer(Asked question) {
        asked.push_back(std::move(question));
        if (answers.empty()) return std::nullopt;
        const bool cancel = !answers.front();
        const QString name = cancel ? QString() : *answers.front();
        answers.pop_front();
        if (cancel) return std::nullopt;
        return name;
    }
};
