#include "ui/QtFileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QRegularExpression>

QString QtFileDialogs::qtFilter(const QString& filter) {
    if (!filter.contains(u'|')) return filter;
    const QStringList parts = filter.split(u'|');
    const QRegularExpression shownPatterns(QStringLiteral(R"(\([^()]*\)\s*$)"));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Qt filters by the patterns in the description's last brackets; those shown give way
        // to the ones the filter names.
        QString description = parts[i];
        const bool shown = description.contains(shownPatterns);
        description.remove(shownPatterns);
        filters << description + (shown ? u"(" : u" (") + QString(parts[i + 1]).replace(u';', u' ') + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<QString> QtFileDialogs::openFileName(const QString& caption, const QString& proposed,
                                                   const QString& filter) {
    const QString name =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, proposed, qtFilter(filter));
    if (name.isEmpty()) return std::nullopt;
    return name;
}

std::optional<QString> QtFileDialogs::saveFileName(const QString& caption, const QString& proposed,
                                                   const QString& filter) {
    // Replacing a file that exists is the program's own question.
    const QString name =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, proposed, qtFilter(filter),
                                     nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return std::nullopt;
    return name;
}
