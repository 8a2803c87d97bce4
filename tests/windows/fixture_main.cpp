// A program that does nothing: only its version resource (or the lack of one) matters.
int main() { return 0; }
