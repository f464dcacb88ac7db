// The main form 101 built from resources/main_form.ui.
#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class MainForm;
}

namespace zoedit::qt {

class MainFormWidget : public QWidget {
    Q_OBJECT
public:
    explicit MainFormWidget(QWidget* parent = nullptr);
    ~MainFormWidget() override;

private:
    void fitPageWidth();

    std::unique_ptr<Ui::MainForm> m_ui;
};

}  // namespace zoedit::qt
