#pragma once
#include <string>

class QWidget;

namespace vantrel {

struct AppContext;

// The application's standard error box (or the context's replacement).
void ShowError(AppContext& ctx, const std::string& text, QWidget* parent = nullptr);

// A notice with an information icon and an OK button (or the context's replacement).
void ShowMessage(AppContext& ctx, const std::string& text, QWidget* parent = nullptr);

enum class QuestionIcon { Stop, Question };

// A Yes/No question (or the context's replacement); true means "Yes".
bool AskYesNo(AppContext& ctx, const std::string& text, const std::string& caption, QWidget* parent = nullptr,
              QuestionIcon icon = QuestionIcon::Stop);

} // namespace vantrel
