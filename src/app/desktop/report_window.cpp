#include "app/desktop/report_window.h"

#include "platform/path_bytes.h"
#include "platform/source_file.h"
#include "rewrite/passes.h"

#include <array>

namespace faultward {
namespace {

constexpr std::array kPreviewButtons = {ReportButton::Insert, ReportButton::SaveAs,
                                        ReportButton::Close};
constexpr std::array kCheckButtons = {ReportButton::SaveAs, ReportButton::Close};

} // namespace

ReportWindow::ReportWindow(Kind kind, std::string text, MainWindowView& main)
    : kind_(kind), text_(std::move(text)), lines_(ReportLines::ofReport(text_)), main_(main) {}

std::string_view ReportWindow::title() const {
    return kind_ == Kind::Preview ? kPreviewTitle : kCheckTitle;
}

std::span<const ReportButton> ReportWindow::buttons() const {
    if (kind_ == Kind::Preview)
        return kPreviewButtons;
    return kCheckButtons;
}

std::string_view ReportWindow::caption(ReportButton button) {
    switch (button) {
    case ReportButton::Insert:
        return "&Insert";
    case ReportButton::SaveAs:
        return "&Save As...";
    default:
        return "Close";
    }
}

bool ReportWindow::press(ReportButton button) {
    switch (button) {
    case ReportButton::Insert:
        insertChosen_ = true;
        return true;
    case ReportButton::SaveAs:
        saveAs();
        return false;
    default:
        return true;
    }
}

void ReportWindow::saveAs() {
    const bool preview = kind_ == Kind::Preview;
    const std::optional<std::string> chosen =
        main_.askSaveFile({"", preview ? kDiffFilter : kReportFilter, 1, preview ? "diff" : "txt"});
    if (!chosen)
        return;
    const WriteStatus status = createOrReplaceFile(pathFromBytes(*chosen), text_);
    if (status != WriteStatus::Ok)
        main_.showMessage("The file " + pathDisplayText(*chosen) + " could not be saved: " +
                              std::string(describe(writeOutcome(status))) + ".",
                          MessageIcon::Warning, {});
}

} // namespace faultward
