# Reads every card of a vCard file with python3-vobject and writes them back
# as that library serialises them: the judge of what other programs make of
# our export. Prints the number of cards read.
import sys

import vobject

with open(sys.argv[1], encoding="utf-8", newline="") as f:
    cards = list(vobject.readComponents(f.read()))
with open(sys.argv[2], "w", encoding="utf-8", newline="") as out:
    for card in cards:
        out.write(card.serialize())
print(len(cards))
