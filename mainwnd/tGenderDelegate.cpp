#include "mainwnd/tGenderDelegate.h"

#include "platform/CodePage.h"
#include "support/Messages.h"

#include <QComboBox>
#include <QSignalBlocker>

QWidget* tGenderDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                       const QModelIndex& index) const {
    auto* choice = new QComboBox(parent);
    choice->addItem(ToQString(MessageText(tMessage::GenderChoose)), QString());
    choice->addItem(ToQString(MessageText(tMessage::GenderMale)), QString("m"));
    choice->addItem(ToQString(MessageText(tMessage::GenderFemale)), QString("f"));
    choice->setAccessibleName(ToQString(MessageText(tMessage::ColumnGender)) + " " +
                              index.siblingAtColumn(0).data().toString());
    auto* self = const_cast<tGenderDelegate*>(this);
    connect(choice, &QComboBox::currentIndexChanged, self,
            [self, choice] { Q_EMIT self->commitData(choice); });
    return choice;
}

void tGenderDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* choice = static_cast<QComboBox*>(editor);
    const QSignalBlocker quiet(choice); // showing the model's value is no choice of the user's
    choice->setCurrentIndex(std::max(0, choice->findData(index.data(Qt::EditRole))));
}

void tGenderDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                   const QModelIndex& index) const {
    model->setData(index, static_cast<QComboBox*>(editor)->currentData(), Qt::EditRole);
}
