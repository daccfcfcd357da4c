// Linked with every object of one room and only the rooms it uses: the link fails when the
// room calls into a room above it.
int main() { return 0; }
