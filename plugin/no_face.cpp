#include "ui/face.h"

#include "ui/models/forms.h"

// The program attaches its own face to the forms (or none).
namespace face {

std::unique_ptr<ui::Face> Make(ui::Forms&, LogSink&) {
  return nullptr;
}

}  // namespace face
