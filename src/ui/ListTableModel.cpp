#include "ui/ListTableModel.h"

#include "core/KeyScan.h"
#include "core/Session.h"

#include <QTimer>
#include <algorithm>
#include <limits>

namespace {
// How long a search may hold the window before it shows what it has found, and how often the
// rows found beside it are shown after that: seldom enough that repainting the list (which
// every new row count asks for) costs the window little. The first screenful and the end show
// at once.
constexpr int kFirstRowsMs = 50;
constexpr int kPollMs = 150;
} // namespace

ListTableModel::ListTableModel(std::vector<ListColumn> columns, QString moneyColumn, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)), moneyColumn_(std::move(moneyColumn)),
      timer_(new QTimer(this)) {
    connect(timer_, &QTimer::timeout, this, &ListTableModel::poll);
}

ListTableModel::~ListTableModel() = default;

int ListTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(ids_.size());
}

int ListTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant ListTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return index.column() == 0 ? QString::number(index.row() + 1) : cellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return int((columns_[size_t(index.column())].rightAligned ? Qt::AlignRight : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    case listroles::KeyRole:
        return QString(QStringLiteral("ID") + QString::number(id(index.row())));
    default:
        return {};
    }
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const ListColumn& c = columns_[size_t(section)];
    switch (role) {
    case Qt::DisplayRole:
        return c.header;
    case listroles::ColumnKeyRole:
        return c.key;
    case listroles::TwipsRole:
        return c.twips;
    case Qt::TextAlignmentRole:
        return int((c.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    default:
        return {};
    }
}

int ListTableModel::rowOf(qlonglong id, int from) const {
    const auto it = std::find(ids_.begin() + std::clamp(from, 0, rowCount()), ids_.end(), id);
    return it == ids_.end() ? -1 : int(it - ids_.begin());
}

void ListTableModel::stream(Session& session, const QString& statement, const QString& recordStatement,
                            int firstRows) {
    cancel();
    beginResetModel();
    ids_.clear();
    total_ = 0;
    forgetRecords(&session, recordStatement);
    try {
        firstRows_ = std::max(firstRows, 1);
        scan_ = std::make_unique<KeyScan>(
            session, statement, moneyColumn_,
            [this] { QMetaObject::invokeMethod(this, &ListTableModel::poll, Qt::QueuedConnection); },
            size_t(firstRows_));
    } catch (...) {
        forgetRecords(nullptr, {});
        endResetModel();
        throw;
    }
    endResetModel();
    // A list that is read in a moment shows whole, at once; a longer one shows what is found by
    // then, and its first screenful as soon as it is there.
    scan_->waitFor(std::numeric_limits<size_t>::max(), kFirstRowsMs);
    poll();
    if (scan_) timer_->start(kPollMs);
}

void ListTableModel::poll() {
    if (!scan_) return;
    std::vector<qlonglong> found;
    const KeyScan::State state = scan_->take(found);
    if (state == KeyScan::State::Failed) {
        failure_ = scan_->error();
        cancel();
        clear();
        Q_EMIT loadFailed(failure_);
        return;
    }
    if (!found.empty()) {
        beginInsertRows({}, rowCount(), rowCount() + int(found.size()) - 1);
        ids_.insert(ids_.end(), found.begin(), found.end());
        endInsertRows();
    }

    switch (state) {
    case KeyScan::State::Done:
        total_ = scan_->total();
        cancel();
        Q_EMIT loadFinished();
        break;
    case KeyScan::State::Stopped:
        cancel();
        Q_EMIT loadStopped();
        break;
    default:
        if (!found.empty()) Q_EMIT rowsFound();
        break;
    }
}

void ListTableModel::finishLoading() {
    failure_.clear();
    while (scan_) {
        scan_->waitFor(std::numeric_limits<size_t>::max(), kPollMs);
        poll();
    }
    if (!failure_.isEmpty()) throw DbError(failure_);
}

void ListTableModel::cancel() {
    timer_->stop();
    scan_.reset();
}

void ListTableModel::clear() {
    cancel();
    beginResetModel();
    ids_.clear();
    total_ = 0;
    forgetRecords(nullptr, {});
    endResetModel();
}
