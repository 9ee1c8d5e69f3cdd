"""vellum: the RenderMan Interface in Python.

Write RIB with one method per request::

    with vellum.Ri("scene.rib") as ri:
        ri.WorldBegin()
        ri.Sphere(1, -1, 1, 360, {"constant color Cs": [1, 0, 0]})
        ri.WorldEnd()

read it back as Request objects with :func:`read`, and write requests back
with :meth:`Ri.write`, so that a filter is a loop.
"""

from __future__ import annotations

import os
import warnings
from typing import Any, Dict, Iterator, List, Optional, Sequence, Tuple, Union


class RibError(Exception):
    """A problem with RIB: a diagnostic of the library (under
    ErrorHandler(ErrorAbort)) or an error found while reading, with the
    file and line it was found at (None where there are none)."""

    def __init__(self, message: str, file: Optional[str] = None, line: Optional[int] = None):
        super().__init__(message if file is None else f"{file}:{line}: {message}")
        self.message = message
        self.file = file
        self.line = line


class RibWarning(UserWarning):
    """A diagnostic of the library, or a warning found while reading RIB."""


from ._vellum import *  # noqa: E402,F401,F403  (constants and predefined functions)
from ._vellum import Function, Handle  # noqa: E402
from . import _vellum  # noqa: E402

__all__ = ["Ri", "Request", "Reading", "read", "diff", "RibError", "RibWarning", "Function", "Handle"]


class Request:
    """One request of a RIB stream: the name of its Ri method, the method's
    arguments (arrays as numpy arrays), its parameter list keyed by declared
    names ("varying color Cs") with numpy arrays (lists of str for strings),
    and where it was read.  A request that defines a light or an object
    keeps the stream's handle for it in `handle`; one that the library can
    only pass on as read has its RIB text in `verbatim`."""

    __slots__ = ("name", "args", "params", "file", "line", "handle", "verbatim", "_tokens")

    def __init__(self, name: str, args: Sequence[Any] = (), params: Optional[Dict[str, Any]] = None,
                 file: Optional[str] = None, line: Optional[int] = None, handle: Any = None,
                 verbatim: Optional[str] = None, _tokens: Optional[Dict[str, str]] = None):
        self.name = name
        self.args = tuple(args)
        self.params = {} if params is None else params
        self.file = file
        self.line = line
        self.handle = handle
        self.verbatim = verbatim
        self._tokens = _tokens or {}  # the parameters' tokens as read

    def __repr__(self) -> str:
        where = f" at {self.file}:{self.line}" if self.file is not None else ""
        return f"<vellum.Request {self.name}{where}>"


# Requests whose handle operand names a light or an object defined before.
_USES_HANDLE = ("Illuminate", "ObjectInstance")


class Ri(_vellum.Ri):
    """A RIB stream: one method per request of the interface, named as the
    request without "Ri" (ri.Sphere for RiSphere); the constants of ri.h
    as attributes (ri.P, ri.RGBA, ri.BEZIERSTEP).

    Nothing of a request is written when its arguments are wrong: a wrong
    count or type, or an undeclared name, raises ValueError or TypeError;
    counts past what one request can hold, which the reader would refuse
    (more than 2147483647 values in a storage class or in one parameter,
    as a Volume of 2**31 - 1 points along each side gives), ValueError.

    Used in a with statement, it begins its context with the arguments
    given here (those of Begin) and ends it at the end of the block, also
    when an exception leaves it."""

    def __init__(self, name: Optional[str] = None, *, binary: Optional[bool] = None,
                 precision: Optional[int] = None, compression: Optional[str] = None) -> None:
        super().__init__()
        self._begin_args = (name, binary, precision, compression)
        self._handles: Dict[Any, Handle] = {}

    def __enter__(self) -> "Ri":
        if not self.has_context:
            name, binary, precision, compression = self._begin_args
            self.Begin(name, binary=binary, precision=precision, compression=compression)
        return self

    def __exit__(self, *exc: Any) -> None:
        if self.has_context:
            self.End()

    def Begin(self, name: Optional[str] = None, *, binary: Optional[bool] = None,
              precision: Optional[int] = None, compression: Optional[str] = None) -> None:
        super().Begin(name, binary=binary, precision=precision, compression=compression)
        self._handles = {}

    Begin.__doc__ = _vellum.Ri.Begin.__doc__

    def write(self, request: Request) -> None:
        """Writes a request as its Ri method would, from its name, args and
        params.  A parameter read from RIB is written by its token as read
        where this stream declares that token alike, by its declared name
        otherwise; handles of lights and objects are those this stream made
        for the requests that defined them.  ValueError for a request the
        library cannot write."""
        if request.verbatim is not None:
            self.ArchiveRecord("verbatim", request.verbatim)
            return
        name = request.name
        if name == "version":
            return  # every stream writes its own
        method = getattr(_vellum.Ri, name, None) if name[:1].isupper() else None
        if method is None:
            raise ValueError(f"write: {name!r} is not a request of the library")
        args = request.args
        if name in _USES_HANDLE and not isinstance(args[0], Handle):
            try:
                args = (self._handles[args[0]],) + tuple(args[1:])
            except KeyError:
                raise ValueError(f"{name}: handle {args[0]!r} was not defined by a request written "
                                 "to this stream") from None
        if request.params:
            token, read = self._writable_token, request._tokens
            params = {(token(key, read[key]) if key in read else key): value
                      for key, value in request.params.items()}
            result = method(self, *args, params)
        else:
            result = method(self, *args)
        if request.handle is not None:
            self._handles[request.handle] = result


class Reading:
    """The requests of a RIB stream, as :func:`read` yields them while it
    reads the stream, with the errors and warnings found so far."""

    def __init__(self, source: Union[str, os.PathLike, bytes, Any], strict: bool, strict_warnings: bool):
        self.errors: List[RibError] = []
        self.warnings: List[RibError] = []
        self._strict = strict
        # The batch being handed out, and where: an iteration given up (by
        # a RibError) is taken up again where it stopped.
        self._batch: List[Any] = []
        self._at = 0
        if isinstance(source, (str, os.PathLike)):
            name = os.fspath(source)
            if isinstance(name, bytes):
                name = os.fsdecode(name)
            self._stream = _vellum._Reading(name, name, True, strict_warnings, Request)
            return
        if isinstance(source, (bytes, bytearray, memoryview)):
            name, data = "<bytes>", bytes(source)
        else:
            name, data = str(getattr(source, "name", "<file>")), source
        self._stream = _vellum._Reading(data, name, False, strict_warnings, Request)

    def __iter__(self) -> Iterator[Request]:
        next_batch = self._stream.next_batch
        while True:
            if self._at == len(self._batch):
                self._batch, self._at = next_batch(), 0
                if not self._batch:
                    return
            batch, at = self._batch, self._at
            for event in batch[at:]:
                at += 1
                if type(event) is not tuple:
                    self._at = at
                    yield event
                    continue
                self._at = at
                kind = event[0]
                error = RibError(event[1], event[2], event[3])
                if kind == "warning":
                    self.warnings.append(error)
                    warnings.warn(event[4], RibWarning, stacklevel=2)
                elif self._strict:
                    raise error
                else:
                    self.errors.append(error)


def read(source: Union[str, os.PathLike, bytes, Any], strict: bool = True,
         strict_warnings: bool = False) -> Reading:
    """The requests of a RIB stream (ASCII or binary, plain or gzip): a path,
    a file object opened for reading, or bytes.  Each request is checked as
    qview checks it; one with an error is left out.  With `strict` (the
    default) the first error raises RibError, with the file and line, once
    the requests before it have been yielded; otherwise errors are collected
    in the result's `errors`.  Warnings are issued as RibWarning and kept in
    `warnings`; `strict_warnings` makes them errors.

    The stream is read as it is iterated, a few hundred requests ahead,
    without the interpreter lock (a file object's read() excepted): memory
    stays the same however long the stream is, and a gzip stream is
    decompressed as it goes.  A path that cannot be opened raises OSError
    here.  Arrays are numpy arrays that take over what the reader read."""
    return Reading(source, strict, strict_warnings)


def _diff_source(source: Union[str, os.PathLike, bytes], which: str) -> Any:
    """A stream to compare: (source, name, is_path)."""
    if isinstance(source, (str, os.PathLike)):
        name = os.fspath(source)
        if isinstance(name, bytes):
            name = os.fsdecode(name)
        return name, name, True
    if isinstance(source, (bytes, bytearray, memoryview)):
        return bytes(source), f"<bytes {which}>", False
    raise TypeError(f"a RIB stream to compare is a path or bytes, not {type(source).__name__}")


def diff(a: Union[str, os.PathLike, bytes], b: Union[str, os.PathLike, bytes], rel: float = 0,
         abs: float = 0, comments: bool = False) -> Iterator[Tuple[Optional[Request], Optional[Request]]]:
    """The differences of two RIB streams (paths or bytes; ASCII or binary,
    plain or gzip), compared request by request as ribdiff compares them:
    names, operands and parameters after reading, parameters by their
    declarations, numbers within the relative tolerance `rel` or the
    absolute `abs`; comments count only with `comments`.

    Returns an iterator over the differences in the order of the
    streams, a pair each: (A, B) for a request of A that became B, (A, None)
    for one removed, (None, B) for one added; nothing for equal streams.
    An error in either stream raises RibError with its file and line, a
    path that cannot be opened OSError.  Both streams are compared here,
    without the interpreter lock, and only the requests that differ are
    kept."""
    source_a, name_a, a_is_path = _diff_source(a, "a")
    source_b, name_b, b_is_path = _diff_source(b, "b")
    result = _vellum._diff(source_a, name_a, a_is_path, source_b, name_b, b_is_path, float(rel), float(abs),
                           bool(comments), Request)
    if isinstance(result, tuple):
        raise RibError(*result)
    return iter(result)
