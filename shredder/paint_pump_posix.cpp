#include "shredder/paint_pump.h"

namespace zuzar {

void DispatchPaintMessages() {}

}  // namespace zuzar
