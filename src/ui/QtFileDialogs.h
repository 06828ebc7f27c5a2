#pragma once
#include "core/FileDialogs.h"

// Qt's file dialogs over the active window.
class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> openFileName(const QString& caption, const QString& proposed,
                                        const QString& filter) override;
    std::optional<QString> saveFileName(const QString& caption, const QString& proposed,
                                        const QString& filter) override;

    // "格式(*.xkg)|*.xkg" as Qt writes it, "格式(*.xkg)"; a filter without "|" is Qt's already.
    static QString qtFilter(const QString& filter);
};
