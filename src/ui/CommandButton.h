#pragma once
// The numbered command buttons of every window (`cmdS(i)`), each calling the window's handler
// with its number. None answers Enter by itself: a stray Enter in a box must neither save nor
// close.
#include <QPushButton>
#include <QString>

template <class Window>
QPushButton* commandButton(Window* window, void (Window::*handler)(int), int index, const QString& caption,
                           QWidget* parent = nullptr) {
    auto* b = new QPushButton(caption, parent ? parent : window);
    b->setObjectName(QStringLiteral("cmdS(%1)").arg(index));
    b->setAutoDefault(false);
    b->setDefault(false);
    QObject::connect(b, &QPushButton::clicked, window,
                     [window, handler, index] { (window->*handler)(index); });
    return b;
}
