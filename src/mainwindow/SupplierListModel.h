#pragma once
#include "core/Records.h"
#include "mainwindow/RecordTableModel.h"

// The suppliers view: name with details, kinds of goods supplied.
class SupplierListModel : public RecordTableModel<SupplierRecord> {
public:
    enum Column { RowNumber, Supplier, Kinds, ColumnCount };
    explicit SupplierListModel(QObject* parent = nullptr) : RecordTableModel(listviews::Suppliers, parent) {}
    void load(RowSource& rows);
    QString cellText(const SupplierRecord& r, int column) const override;
};
