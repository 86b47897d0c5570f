#include "controls/button/ElaborateStyles.h"

#include "controls/button/styles/Capsule.h"
#include "controls/button/styles/GlossyImage.h"
#include "controls/button/styles/ReliefGradient.h"
#include "controls/button/styles/RingedGradient.h"
#include "controls/button/styles/SoftGradient.h"

namespace clipnab {

StyleRenderer elaborateRenderer(ButtonStyle style, bool useCustomColors)
{
    switch (style) {
    case ButtonStyle::RingedGradient:
        return useCustomColors ? &paintRingedGradientShaded : &paintRingedGradientFixed;
    case ButtonStyle::SoftGradient:
        return &paintSoftGradient;
    case ButtonStyle::ReliefGradient:
        return &paintReliefGradient;
    case ButtonStyle::Capsule:
        return &paintCapsule;
    case ButtonStyle::GlossyImage:
        return &paintGlossyImage;
    default:
        return nullptr;
    }
}

} // namespace clipnab
