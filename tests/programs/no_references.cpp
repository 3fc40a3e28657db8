// A program that links the library and calls none of it.
int main() {
    return 0;
}
