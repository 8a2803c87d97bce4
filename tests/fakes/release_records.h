#pragma once

// Empties what a fake recorded and gives its memory back: assigning {} or
// clear() keeps the capacity, which a test of the program's memory would count.
template <class Container>
void ReleaseRecords(Container& records) {
  Container().swap(records);
}
