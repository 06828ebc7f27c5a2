#pragma once
// What the customer, demand and supplier forms share: the keyword box with its search,
// the list under the boxes with its row numbers and column widths, the button array and
// the banner on the bottom edge. Each form adds its boxes and its own save, change and
// delete actions.
#include <QDialog>
#include <functional>
#include <map>
#include <optional>

class KeywordCombo;
class ListView;
class MessageBanner;
class QAbstractItemModel;
class QGridLayout;
class QHBoxLayout;
class QPushButton;
class Session;

class MaintenanceForm : public QDialog {
    Q_OBJECT
public:
    static inline const QString kSaveDone = QStringLiteral("保   存   完   成  ！");
    static inline const QString kDeleteDone = QStringLiteral("删   除   完   成  ！");
    static inline const QString kSaveFailed = QStringLiteral("   保  存  失  败  ！");
    static inline const QString kDeleteFailed = QStringLiteral("   删  除  失  败  ！");
    static inline const QString kSearchFailed = QStringLiteral("   搜  索  失  败  ！");
    static inline const QString kFailTitle = QStringLiteral("提示");
    static inline const QString kDeleteTitle = QStringLiteral("删除记录");
    static inline const QString kDeletePrompt = QStringLiteral("   确 定 删 除 本 条 记 录 吗 ?");
    static inline const QString kNameTooShortBox = QStringLiteral(" 名　称　太　短，　保　存　失　败 ！ ");
    static inline const QString kNameTooShortBanner = QStringLiteral("名　称　太　短，　保　存　失　败 ！");

    const QString& formQuery() const { return formQuery_; }
    MessageBanner& banner() const { return *banner_; }

    // Reruns the form query (the default list when it is empty) and shows the first row in
    // the boxes. Throws DbError and then leaves the list as it was.
    void Load_ListViewL();
    // The keyword condition over this form's fields for the text of the keyword box.
    QString GetSQLKey() const;
    void SaveKey(const QString& cKey);
    void Load_cmbSS();
    void autoMSG(const QString& text, qint16 seconds);

    // The selected row's number, counted from 1; 0 when no row is selected.
    int selectedRow() const;
    // Selects row n (from 1), scrolls it into view and shows it in the boxes.
    void selectRow(int n);
    int listRowCount() const;

protected:
    MaintenanceForm(Session& session, const QString& title, QWidget* parent);

    // Called by the form's constructor once its boxes are in place.
    void setUpList(QAbstractItemModel* model);
    // Runs the list's first load; a failure is reported and leaves the list empty.
    void openList();
    QPushButton* cmdS(int index) const { return cmdS_.at(index); }
    QPushButton* addButton(int index, const QString& caption);
    int twips(int tw) const;

    virtual QString searchFields() const = 0;
    virtual QString searchStatement(const QString& condition) const = 0;
    // Runs the query into the list's model (query is never empty). Throws DbError.
    virtual void fillList(const QString& query) = 0;
    virtual QString defaultQuery() const = 0;
    // Shows row n (from 1) in the boxes.
    virtual void ListViewL_ItemClick(int n) = 0;
    virtual void cmdS_Click(int index);

    // Button 1: stores the boxes as a new record; false when refused or failed (the
    // message was shown).
    virtual bool SaveRec() = 0;
    // Whether the list after adding keeps a search filter or returns to the default list.
    virtual bool addKeepsFilter() const { return true; }
    // Button 2: writes the boxes over row n (from 1); false when refused or failed.
    virtual bool writeChanges(int n) = 0;
    // Button 3: the question asked first, and the removal of row n. Throws DbError.
    virtual QString deletePrompt() const { return kDeletePrompt; }
    virtual void removeRow(int n) = 0;

    // The cleaned name when it is long enough to store; otherwise the refusal is shown, in a
    // box for a new record and in the banner for a change, and the box keeps what was typed.
    std::optional<QString> nameToSave(const QString& typed, bool newRecord);
    // A write of the form's records; a failure of the data file is shown and gives false.
    bool stored(const std::function<void()>& write);
    // Load_ListViewL with its failure reported; false when it failed.
    bool reloadList();
    // After saving changes: the old row number again, or the last row when the list got shorter.
    void reselect(int n);
    void search();
    void addRecord();
    void saveChanges();
    void deleteRecord();

    Session& session_;
    QString formQuery_;
    KeywordCombo* cmbSS;
    ListView* ListViewL;
    QGridLayout* fields_; // label and box rows above the buttons
    QHBoxLayout* buttonRow_;

private:
    MessageBanner* banner_;
    std::map<int, QPushButton*> cmdS_;
};
