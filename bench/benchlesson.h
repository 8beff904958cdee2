#pragma once

class DPagesList;

// The large lesson the document benchmarks share: 50 pages, each with 200 strokes (pencil and
// highlighter), 5 shapes, 2 texts and 1 photo-like picture of 800 x 600, its own on each page.
namespace BenchLesson {

constexpr int kPages = 50;
constexpr int kStrokesPerPage = 200;

// Fills list (one colour page, as a new document has) up to kPages pages of that content.
void build(DPagesList &list);

} // namespace BenchLesson
