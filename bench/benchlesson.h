#pragma once

class DPagesList;

// The lessons the document benchmarks share, 50 pages each.
namespace BenchLesson {

constexpr int kPages = 50;

// The lesson of photos: each page with 200 strokes (pencil and highlighter), 5 shapes, 2 texts
// and 1 photo-like picture of 800 x 600, its own on each page (about 30 MB as IWB).
constexpr int kStrokesPerPage = 200;
// The lesson of small objects: each page with strokes, 2 texts and 2 small photo-like
// pictures of its own (about 5 MB as IWB). Most of an open of it is objects, not pictures.
constexpr int kSmallStrokesPerPage = 100;

// Fill list (one colour page, as a new document has) up to kPages pages of that content.
void build(DPagesList &list);
void buildSmallObjects(DPagesList &list);

} // namespace BenchLesson
