// The program's help pages.
#include "app/HelpWindow.h"

namespace mvx {

const char* Help_Html() {
    return R"HTML(<html><body>
<h1><a name="contents"></a>Marevox Help</h1>
<p>Marevox shows the ensemble files recorded by acoustic Doppler current profilers as charts and text,
and exports chosen data to text or MATLAB files.</p>
<h2>Contents</h2>
<ul>
<li><a href="#opening">Opening files</a></li>
<li><a href="#menus">Menus</a></li>
<li><a href="#charts">Charts</a></li>
<li><a href="#export">Export</a></li>
<li><a href="#options">Options</a></li>
<li><a href="#monitor">Monitor mode</a></li>
<li><a href="#commandline">Command line</a></li>
</ul>

<h2><a name="opening"></a>Opening files</h2>
<p>Choose <b>File &gt; Open</b> and pick an ensemble file, or pick one of the recently opened files listed
at the bottom of the File menu (the newest is number 1; eight are kept). Broadband and narrowband files are
both read. Marevox checks every ensemble's checksum, counts the ensembles and shows the file's statistics
in the <b>Marevox Information</b> window. A file with too few valid ensembles is not loaded; its
statistics say why.</p>
<p>Two sets are loaded: the <i>whole set</i>, up to 256 ensembles spread evenly over the whole file, and the
<i>sub set</i>, the consecutive ensembles shown in detail (256 unless changed with <b>Options &gt; Max
Ensembles</b>, from 128 to 8192).</p>
<p>A recording split over numbered files (RUN.000, RUN.001, ... or STEM000001.ENX, STEM000002.ENX, ...) is
read as one stream when <b>File &gt; MultiFile</b> is checked before opening the first file.</p>
<p><b>Save Sub Set</b> writes the raw ensembles of the sub set, byte for byte, to a new file;
<b>Save Selected Set</b> does the same for the range selected in the whole-set window. An existing file
that already holds data is never overwritten ("Over-Write of File Not Allowed").</p>

<h2><a name="menus"></a>Menus</h2>
<dl>
<dt><b>File</b></dt><dd>MultiFile, Open, Save Selected Set, Save Sub Set, Exit and the recent files.</dd>
<dt><b>Edit</b></dt><dd>Copy puts the whole-set chart or the sub-set charts on the clipboard as a picture.
MSPAINT does the same and hands the picture to the desktop's picture program. Flip inverts the orientation
of every ensemble and reopens the file.</dd>
<dt><b>Report</b></dt><dd>The report editor: a captioned snapshot of the contour chart, saved as a
.mvr file.</dd>
<dt><b>Options</b></dt><dd>Chart Options opens the chart options on the Contour, Profile, Series, Ancillary
or Processing page. Max Ensembles sets the size of the sub set.</dd>
<dt><b>Animate</b></dt><dd>Go steps the contour through the file, the profile through the sub set or the
series through the bins; choose Go again to stop. Rewind returns to the start.</dd>
<dt><b>Export</b></dt><dd>Writes chosen data as text or MATLAB files.</dd>
<dt><b>Utilities</b></dt><dd>File Details reports the instrument set-up and the ensemble statistics of the
open file. Trend shows trends and residuals of the series chart.</dd>
<dt><b>Window</b></dt><dd>Shows or hides the Information, Whole Set, Sub Set, Viewer and Track Vector
windows. Align Forms puts the information, sub-set and whole-set windows back in their places.</dd>
<dt><b>Monitor</b></dt><dd>On and Interval: see <a href="#monitor">Monitor mode</a>.</dd>
<dt><b>Help</b></dt><dd>This help, and the program's version.</dd>
</dl>

<h2><a name="charts"></a>Charts</h2>
<p>The <b>Sub Set</b> window holds three charts. The contour chart paints one quantity (echo intensity,
correlation, a velocity component, magnitude, direction or percent good) over ensembles (left to right)
and depth bins (bottom to top). The profile chart on the left shows the chosen quantities of one ensemble
along the bins; click the contour to choose that ensemble. The series chart below the contour shows
chosen quantities of chosen bins, the reference velocities and the ancillary values (heading, pitch, roll,
temperature, depth, battery) over the ensembles.</p>
<p>The <b>Whole Set</b> window shows the whole file in reduced form. Drag a box or use the scroll bars to
choose the sub set that the Sub Set window shows.</p>
<p>Bad or missing values are left out of every chart.</p>

<h2><a name="export"></a>Export</h2>
<p><b>Export</b> writes the ensembles of a chosen range, with the chosen data types, bins and time format,
to a text file (columns separated by blanks) or to a MATLAB Level 4 MAT file. Bad values are left empty in
text files and kept as -32768 in MATLAB files.</p>

<h2><a name="options"></a>Options</h2>
<p>The chart options set which quantities each chart shows, their scales and drawing styles, the velocity
reference (none, bottom track, navigation or water mass), velocity scale factors, water density and how the
end of the profile is cut. Options are kept in the file MRVXOps.Txt in the program's settings folder; they
are read at start-up and written when the program ends, together with the places of the windows. A file
written by another version of the program is ignored.</p>

<h2><a name="monitor"></a>Monitor mode</h2>
<p>Monitor mode follows a file that is still being recorded. Choose <b>Monitor &gt; On</b>: every
<i>interval</i> seconds (5 unless changed with <b>Monitor &gt; Interval</b>, 1 to 9999) Marevox looks at the
size of the file opened last and, when it has grown, reopens it and shows its newest ensembles. The menu
bar counts down the seconds to the next look. While monitoring, the File, Edit, Options, Animate and Export
menus are disabled; choose <b>Monitor &gt; On</b> again to stop.</p>

<h2><a name="commandline"></a>Command line</h2>
<pre>marevox [FILE [-Mnnnn]]</pre>
<p>Opens FILE at start-up. With -M and four digits (for example <tt>-M0030</tt>) the file is monitored
at once, every nnnn seconds.</p>
</body></html>)HTML";
}

} // namespace mvx
