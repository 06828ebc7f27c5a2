#pragma once
// One column of a statistics list: its key, header, width in twips and alignment. The window,
// the exports and the command line all take the texts from here.
#include <QString>
#include <Qt>

struct StatsColumn {
    // What a spreadsheet makes of the texts.
    enum class Kind { Number, Text, Date };
    QString key;
    QString header;
    int twips = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
    Kind kind = Kind::Number;
};
