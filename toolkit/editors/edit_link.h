#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

namespace kelvora {

// A program's own editor for a cell. The grid hands a link to the
// program's OnGetEditorProp handler, which fills it in: the widget, how the
// grid feeds it the cell's text and reads the edited text back. The
// program calls Changed when the person changed the value; the grid then
// reads it and writes it to the cell. The program owns the widget: the
// grid lays it over the cell while it edits and hides it after, and
// forgets it if the program deletes it.
class TEditLink {
 public:
  QPointer<QWidget> Editor;
  std::function<void(const std::string& text)> SetText;
  std::function<std::string()> GetText;

  void Changed() {
    if (changed_) changed_();
  }
  void SetChangedHandler(std::function<void()> handler) { changed_ = std::move(handler); }
  bool Complete() const { return Editor && SetText && GetText; }

 private:
  std::function<void()> changed_;
};

}  // namespace kelvora
