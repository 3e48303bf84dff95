#include "bitmap32/Bmp32_Transforms.h"

namespace Bmp32_Transforms {

bool FullEdge = true;

} // namespace Bmp32_Transforms
