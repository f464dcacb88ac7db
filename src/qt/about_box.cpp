#include "qt/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/pictures.h"
#include "ui/resource_ids.h"
#include "zoedit_version.h"

namespace zoedit::qt {

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About ZoEdit"));
    setProperty("controlId", ui::IDD_ABOUTBOX);
    auto* picture = new QLabel(this);
    picture->setPixmap(icon(QStringLiteral("app")).pixmap(48, 48));
    auto* line1 = new QLabel(tr("ZoEdit Version %1").arg(QStringLiteral(ZOEDIT_VERSION)), this);
    auto* line2 = new QLabel(tr("Channel lists for satellite receivers, edited on the PC"), this);
    QFont bold = line1->font();
    bold.setBold(true);
    line1->setFont(bold);

    auto* texts = new QVBoxLayout;
    texts->addWidget(line1);
    texts->addWidget(line2);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setProperty("controlId", ui::IDOK);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace zoedit::qt
