"""Builds the labelsbase module with the project's CMake build.

The extension is the CMake target labelsbase_py (static libraries, built
for the interpreter running this script); the pure-Python files come from
python/labelsbase/. ccache is used when it is on PATH.
"""

import os
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = os.path.abspath(os.path.dirname(__file__))


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = os.path.join(os.path.abspath(self.build_temp), "cmake")
        configure = [
            "cmake", "-S", HERE, "-B", build,
            "-DCMAKE_BUILD_TYPE=Release",
            "-DPython3_EXECUTABLE=" + sys.executable,
            "-DLABELSBASE_BUILD_PYTHON=ON",
            "-DLABELSBASE_BUILD_CLI=ON",
            "-DLABELSBASE_BUILD_TESTS=OFF",
            "-DBUILD_SHARED_LIBS=OFF",
        ]
        if shutil.which("ninja"):
            configure += ["-G", "Ninja"]
        if shutil.which("ccache"):
            configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        subprocess.check_call(configure)
        subprocess.check_call(["cmake", "--build", build, "--target", "labelsbase_py"])
        target = self.get_ext_fullpath(ext.name)
        built = os.path.join(build, "python", "labelsbase", os.path.basename(target))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(built, target)


setup(
    packages=["labelsbase"],
    package_dir={"labelsbase": "python/labelsbase"},
    package_data={"labelsbase": ["__init__.pyi", "py.typed"]},
    ext_modules=[CMakeExtension("labelsbase._core")],
    cmdclass={"build_ext": CMakeBuild},
    zip_safe=False,
)
