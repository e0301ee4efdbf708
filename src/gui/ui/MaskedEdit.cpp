#include "gui/ui/MaskedEdit.h"

#include <QRegularExpressionValidator>

namespace derode::gui {

MaskedEdit::MaskedEdit(const QString& digitTemplate, QWidget* parent) : QLineEdit(parent)
{
    const int digits = int(digitTemplate.size());
    setMaxLength(digits);
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}").arg(digits)), this));
    setMaximumWidth(fontMetrics().horizontalAdvance(QString(digits + 2, QLatin1Char('0'))) + 12);
}

}  // namespace derode::gui
