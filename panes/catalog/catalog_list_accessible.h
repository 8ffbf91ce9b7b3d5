#pragma once
// How assistive technology sees the catalog list, whose rows are painted rather than widgets:
// a list whose items are the rows shown (named by the title, described by the subtitle, with
// a press action that uses the entry), each holding one "Use" push button.
namespace kavrino {

// Installs the accessibility factory for CatalogListView; later calls do nothing.
void installCatalogListAccessibility();

}  // namespace kavrino
