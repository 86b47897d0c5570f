#include "controls/button/ElaborateStyles.h"

#include "controls/button/styles/RingedGradient.h"

namespace clipnab {

StyleRenderer elaborateRenderer(ButtonStyle style, bool useCustomColors)
{
    switch (style) {
    case ButtonStyle::RingedGradient:
        return useCustomColors ? &paintRingedGradientShaded : &paintRingedGradientFixed;
    default:
        return nullptr;
    }
}

} // namespace clipnab
