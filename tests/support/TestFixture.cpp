#include "TestFixture.h"

#include "core/DataFile.h"
#include "core/Vb.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QXmlStreamReader>
#include <sqlite3.h>

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString toolOutput(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    EXPECT_TRUE(p.waitForFinished()) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList xlsxCells(const QString& xlsx) {
    QXmlStreamReader xml(toolOutput("unzip", {"-p", xlsx, "xl/worksheets/sheet1.xml"}));
    QStringList cells;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"c") continue;
        const QString ref = xml.attributes().value("r").toString();
        const bool text = xml.attributes().value("t") == u"inlineStr";
        QString value;
        while (!(xml.readNext() == QXmlStreamReader::EndElement && xml.name() == u"c") && !xml.atEnd())
            if (xml.isCharacters()) value += xml.text();
        cells << ref + (text ? "=" : "#") + value;
    }
    return cells;
}

void LedgerFixture::SetUp() {
    ASSERT_TRUE(dir.isValid());
    printers.pdfFolder = dir.path();
    CreateDataFile(dataPath());
    session.open(dataPath());
}

QVariant LedgerFixture::scalar(const QString& jetSql) {
    const QueryResult r = session.query(jetSql);
    return r.isEmpty() ? QVariant() : r.value(0, 0);
}

QString LedgerFixture::rowsText(const QString& jetSql, const QString& null) {
    QStringList rows;
    for (const auto& row : session.query(jetSql).rows) {
        QStringList values;
        for (const QVariant& v : row)
            values << (v.isNull() ? null : vb::Text(v));
        rows << values.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char(','));
}

QStringList LedgerFixture::log() {
    QStringList lines;
    for (const auto& row : session.query(QStringLiteral("select cc from T_txt order by ID")).rows)
        lines << row[0].toString();
    return lines;
}

qlonglong addRowOf(Session& session, const QString& table, const QString& columns,
                   const QVariantList& values) {
    const QStringList names = columns.split(QLatin1Char(','));
    EXPECT_EQ(names.size(), values.size()) << table.toStdString();
    FieldValues fields;
    for (qsizetype i = 0; i < names.size() && i < values.size(); ++i)
        fields.emplace_back(names[i], values[i]);
    return session.addRow(table, fields);
}

void click(QWidget& form, int index) {
    auto* b = form.findChild<QPushButton*>(QStringLiteral("cmdS(%1)").arg(index));
    ASSERT_NE(b, nullptr) << index;
    b->click();
}

void closeModalSoon() {
    QTimer::singleShot(0, [] {
        if (QWidget* form = QApplication::activeModalWidget()) form->close();
    });
}

void expectBox(const ScriptedMessageBoxes::Shown& b, ScriptedMessageBoxes::Kind kind, const QString& text,
               const QString& title) {
    EXPECT_EQ(int(b.kind), int(kind)) << text.toStdString();
    EXPECT_EQ(b.text, text);
    EXPECT_EQ(b.title, title);
}

void execOn(const QString& path, const QString& sql) {
    ScriptedMessageBoxes quiet;
    Session s(quiet);
    s.open(path);
    s.execNative(sql);
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(content) == content.size()) << path.toStdString();
}

QStringList sqliteRows(sqlite3* db, const QString& sql, bool exact) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        return {QString::fromUtf8(sqlite3_errmsg(db))};
    QStringList rows;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        QStringList values;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            const int type = sqlite3_column_type(st, c);
            values << (type == SQLITE_NULL ? QStringLiteral("NULL")
                       : exact && type == SQLITE_FLOAT
                           ? QString::number(sqlite3_column_double(st, c), 'g', 17)
                           : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c))));
        }
        rows << values.join(QLatin1Char('|'));
    }
    if (rc != SQLITE_DONE) rows << QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    return rows;
}

QString nativeRows(Session& session, const QString& sql) {
    return sqliteRows(session.handle(), sql).join(QLatin1Char(','));
}
