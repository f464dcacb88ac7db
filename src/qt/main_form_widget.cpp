#include "qt/main_form_widget.h"

#include "qt/pictures.h"
#include "ui_main_form.h"

namespace zoedit::qt {

MainFormWidget::MainFormWidget(QWidget* parent) : QWidget(parent), m_ui(new Ui::MainForm) {
    ensureResources();
    m_ui->setupUi(this);
}

MainFormWidget::~MainFormWidget() = default;

}  // namespace zoedit::qt
