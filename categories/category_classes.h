// Makes the category manager classes known to the category factory. The
// factory lives in the engine and cannot name the classes of this layer, so
// every entry point that copies or lists categories calls this once. A new
// category class adds its one line in category_classes.cpp.
#pragma once

void RegisterCategoryClasses();
