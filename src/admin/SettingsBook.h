#pragma once
// The settings as the settings window changes them: each change is written to the options row
// and to the session's copy together, in one transaction, and logged; then the operator is told.
// A change the data file refuses leaves both as they were and says so.
#include <QString>
#include <array>

class Session;

class SettingsBook {
public:
    using Switches = std::array<bool, 5>;

    explicit SettingsBook(Session& session) : s_(session) {}

    void saveStartTab(int tab);
    // Total cost, purchase amounts, retail, wholesale and transfer prices shown.
    void saveVisibility(const Switches& shown);
    // New goods, purchases, goods editing, monthly status, goods profitability for the administrator only.
    void savePermissions(const Switches& adminOnly);
    // The new password is cleaned (trimmed, no apostrophes) and handed back as cleaned, also
    // when the change is refused. Both changes need the current administrator password.
    // True when the password was changed.
    bool changeAdminPassword(const QString& currentAdmin, QString& newPassword);
    bool changeUserPassword(const QString& currentAdmin, QString& newPassword);
    // The remembered keywords give way to the single keyword "1".
    void clearKeywords();
    // The operation log keeps only the line that says it was cleared.
    void clearLog();
    // Initialisation may be attempted once in this run; not when the log line cannot be written.
    void unlockInitialisation();

private:
    bool changePassword(bool admin, const QString& currentAdmin, QString& newPassword);

    Session& s_;
};
