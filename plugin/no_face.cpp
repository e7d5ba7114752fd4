#include "ui/face.h"

// The program sets its own face hooks (or none).
namespace face {

void Install(host::Window) {}
void Remove() {}

}  // namespace face
