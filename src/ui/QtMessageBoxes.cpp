#include "ui/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

void QtMessageBoxes::information(const QString& text, const QString& title) {
    QMessageBox::information(QApplication::activeWindow(), title, text);
}

void QtMessageBoxes::warning(const QString& text, const QString& title) {
    QMessageBox::warning(QApplication::activeWindow(), title, text);
}

void QtMessageBoxes::critical(const QString& text, const QString& title) {
    QMessageBox::critical(QApplication::activeWindow(), title, text);
}

bool QtMessageBoxes::askYesNo(const QString& text, const QString& title) {
    return QMessageBox::warning(QApplication::activeWindow(), title, text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::Yes) == QMessageBox::Yes;
}
