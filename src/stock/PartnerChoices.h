#pragma once
// What the supplier and customer-demand combo boxes of the stock forms offer. Each list
// starts with a blank choice whose IDs are 0, which is what a blank choice stores.
#include <QString>
#include <vector>

class Session;

struct PartnerChoice {
    QString text;
    qlonglong id = 0;         // supplier or demand ID
    qlonglong customerId = 0; // the demand's customer (demands only)
};

class PartnerChoices {
public:
    // Suppliers by name, shown as GYSMC;GHPZ.
    static std::vector<PartnerChoice> suppliers(Session& session);
    // Open demands, newest first, then by customer name, shown as RQ;KH;KHXQ.
    static std::vector<PartnerChoice> openDemands(Session& session);
};
