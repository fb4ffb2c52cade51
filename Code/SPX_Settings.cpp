#include "Code/SPX_Settings.h"

#include "Code/SPX_processing.h"

namespace spectrel {

TIR_Settings_form::TIR_Settings_form(TAnalysisContext& context, Tprotocol_descriptor& current,
                                     const Tstandard_protocols& standard, platform::MessageBoxes& boxes,
                                     std::function<void()> describeProtocol, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      lines_(std::make_unique<TDecodingLines>(context, current, standard, boxes)),
      describeProtocol_(std::move(describeProtocol)) {
    setWindowTitle("IR decoding parameters");
}

TIR_Settings_form::~TIR_Settings_form() = default;

void TIR_Settings_form::SelectParameterMode() { lines_->SetMode(TDecodingMode::Parameter); }
void TIR_Settings_form::SelectProtocolMode() { lines_->SetMode(TDecodingMode::Protocol); }
void TIR_Settings_form::ClearModified() { lines_->ClearModified(); }
bool TIR_Settings_form::Modified() const { return lines_->Modified(); }

bool TIR_Settings_form::event(QEvent* e) { return QWidget::event(e); }
void TIR_Settings_form::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    emit hidden();
}
void TIR_Settings_form::closeEvent(QCloseEvent* e) { QWidget::closeEvent(e); }
void TIR_Settings_form::FormActivate() {}
void TIR_Settings_form::RebuildLines() {}
void TIR_Settings_form::ListClick(int) {}
void TIR_Settings_form::ValueChange() {}
void TIR_Settings_form::AcceptClick() {}
void TIR_Settings_form::InsertClick() {}
void TIR_Settings_form::DeleteClick() {}
void TIR_Settings_form::ShowContextMenu(const QPoint&) {}

}  // namespace spectrel
