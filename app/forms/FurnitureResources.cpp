// Registers resources/furniture.qrc.
#include "app/forms/FurnitureResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares a function of the global namespace, so it cannot be used inside ours.
static void RegisterFurniture()
{
    Q_INIT_RESOURCE(furniture);
}

namespace quillory {

void InitFurnitureResources()
{
    RegisterFurniture();
}

} // namespace quillory
