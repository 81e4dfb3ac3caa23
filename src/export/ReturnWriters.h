#pragma once
// The writers of the exported return, one per block of the file. Each appends its
// elements to the parent it is given, in the order of the form, and reads the
// computation and the document without changing either.
#include "core/Date.h"
#include "export/ExportText.h"
#include "export/XmlTree.h"

namespace kv {

class Declaration;
class ReturnComputation;

// Title page of a 3-NDFL return under the root "Файл"; returns "НДФЛ3", the body's parent.
xml::Element writeTitle3(xml::Element file, const Declaration& d, DateValue today);
// The whole 4-NDFL under the root "Файл".
void writeForm4(xml::Element file, const Declaration& d, DateValue today);

// The body of a 3-NDFL under "НДФЛ3", block by block, in the order of the form.
void writeSections(xml::Element body, const ReturnComputation& sum);
void writeIncomes(xml::Element body, const Declaration& d, const ReturnComputation& sum);
void writeBusiness(xml::Element body, const Declaration& d, const ReturnComputation& sum);
void writeDeductions(xml::Element body, const Declaration& d, const ReturnComputation& sum);
void writeSecurities(xml::Element body, const ReturnComputation& sum);

// All five blocks in order.
void writeBody3(xml::Element body, const Declaration& d, const ReturnComputation& sum);

} // namespace kv
