#pragma once
// The member grid's rows: the visible records of the member server in the table's order, read
// again after every change. Logical fields show as check marks, the telephone through its
// picture "999-999-9999".

#include "engine/DbServer.h"
#include "members/Member.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

namespace derode::gui {

class MemberTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MemberTableModel(QObject* parent = nullptr);

    // Reads every visible record of `server` in record order (nullptr: no rows).
    void reload(engine::CDBSERVEREX* server);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    std::uint32_t recordAt(int row) const;
    int rowOf(std::uint32_t recno) const;  // -1 when absent
    const members::Member& memberAt(int row) const { return rows_[static_cast<std::size_t>(row)].member; }

    static QString phoneText(const std::string& stored);

private:
    struct Row {
        std::uint32_t recno;
        members::Member member;
    };
    std::vector<Row> rows_;
};

}  // namespace derode::gui
