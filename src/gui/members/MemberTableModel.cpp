#include "gui/members/MemberTableModel.h"

namespace derode::gui {

namespace {
enum Column { Nom, Prenom, Femme, Capitaine, Telephone, Jeton, Conjoint, CaptOcc, Courriel, ColumnCount };

const char* const TITLES[ColumnCount] = {"NOM",      "PRÉNOM",     "Femme",    "Capitaine", "Téléphone",
                                         "Joueur #", "Conjoint #", "Capt_Occ", "Courriel"};

QVariant checkMark(bool on) { return on ? QStringLiteral("✔") : QString(); }
}  // namespace

MemberTableModel::MemberTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void MemberTableModel::reload(engine::CDBSERVEREX* server)
{
    beginResetModel();
    rows_.clear();
    if (server && server->used()) {
        const std::uint32_t current = server->recNo();
        const std::string order = server->order();
        server->setOrder("");
        for (bool more = server->goTop(); more && !server->eof(); more = server->skip(1))
            rows_.push_back({server->recNo(), members::readMember(*server)});
        server->setOrder(order);
        server->goTo(current);
    }
    endResetModel();
}

int MemberTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int MemberTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString MemberTableModel::phoneText(const std::string& stored)
{
    QString digits;
    for (QChar c : QString::fromStdString(stored))
        if (c.isDigit())
            digits += c;
    if (digits.size() == 10)
        return digits.left(3) + QLatin1Char('-') + digits.mid(3, 3) + QLatin1Char('-') + digits.mid(6);
    return QString::fromStdString(stored);
}

QVariant MemberTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const members::Member& m = rows_[static_cast<std::size_t>(index.row())].member;
    if (role == Qt::TextAlignmentRole) {
        switch (index.column()) {
        case Femme:
        case Capitaine:
        case CaptOcc: return int(Qt::AlignCenter);
        case Jeton:
        case Conjoint: return int(Qt::AlignRight | Qt::AlignVCenter);
        default: return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Nom: return QString::fromStdString(m.nom);
    case Prenom: return QString::fromStdString(m.prenom);
    case Femme: return checkMark(m.femme);
    case Capitaine: return checkMark(m.capitaine);
    case Telephone: return phoneText(m.telephone);
    case Jeton: return m.noJeton;
    case Conjoint: return m.noConjoin;
    case CaptOcc: return checkMark(m.captOcc);
    case Courriel: return QString::fromStdString(m.mail);
    default: return {};
    }
}

QVariant MemberTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ColumnCount ? QString::fromUtf8(TITLES[section]) : QVariant();
    return section + 1;
}

std::uint32_t MemberTableModel::recordAt(int row) const
{
    return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)].recno : 0;
}

int MemberTableModel::rowOf(std::uint32_t recno) const
{
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].recno == recno)
            return static_cast<int>(i);
    return -1;
}

}  // namespace derode::gui
