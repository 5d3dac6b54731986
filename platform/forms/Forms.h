#pragma once
// The controls of the program's windows over Qt Widgets: grid, tree view, combo box, label,
// image list, Tag, twips, colour values and key codes.
#include "platform/forms/ComboBox.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/Label.h"
#include "platform/forms/Tag.h"
#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"
