#include "qt/main_form_widget.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "qt/pictures.h"
#include "ui/resource_ids.h"
#include "ui_main_form.h"

namespace zoedit::qt {

namespace {

using namespace ui::form;

// Fields that hold numbers, codes and positions: they read left to right
// whatever the direction of the labels around them.
constexpr ui::ControlId kLeftToRightFields[] = {
    IDC_SERVICE_ID, IDC_VIDEO_PID,          IDC_CODE_PID,        IDC_AUDIO_PID,
    IDC_FOURTH_PID, IDC_TRANSPONDER_NUMBER, IDC_FREQUENCY_ORDER, IDC_NETWORK_ID,
    IDC_FREQUENCY,  IDC_SYMBOL_RATE,        IDC_POSITION};

}  // namespace

MainFormWidget::MainFormWidget(QWidget* parent) : QWidget(parent), m_ui(new Ui::MainForm) {
    ensureResources();
    m_ui->setupUi(this);
    for (auto* edit : findChildren<QLineEdit*>()) {
        const int id = edit->property("controlId").toInt();
        if (std::find(std::begin(kLeftToRightFields), std::end(kLeftToRightFields), id) !=
            std::end(kLeftToRightFields))
            edit->setLayoutDirection(Qt::LeftToRight);
    }
    fitPageWidth();
}

MainFormWidget::~MainFormWidget() = default;

void MainFormWidget::fitPageWidth() {
    // The pages scroll up and down when the window is low, never sideways:
    // the page column keeps the width its widest page needs and the lists
    // take what is left.
    QScrollArea* scroll = m_ui->pageScroll;
    const int bar = scroll->verticalScrollBar()->sizeHint().width();
    scroll->setMinimumWidth(m_ui->pageContent->minimumSizeHint().width() + bar +
                            2 * scroll->frameWidth());
}

}  // namespace zoedit::qt
