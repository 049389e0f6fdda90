"""The part of MicroPython's machine module that drives output pins, for
running a module on the host: each pin write is printed as "PIN LEVEL", a
write to a pin that is not an output as "error: ..."."""


class Pin:
    IN = 0
    OUT = 1

    def __init__(self, id, mode=-1, pull=-1, *, value=None):
        self._id = id
        self._mode = mode
        self._level = 0
        if value is not None:
            self.value(value)

    def value(self, *level):
        if not level:
            return self._level
        if self._mode != Pin.OUT:
            print("error: write to pin", self._id, "not an output")
            return None
        self._level = 1 if level[0] else 0
        print(self._id, self._level)
        return None

    def on(self):
        self.value(1)

    def off(self):
        self.value(0)
