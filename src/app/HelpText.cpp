// The program's help pages.
#include "app/HelpWindow.h"

namespace mvx {

const char* Help_Html() {
    return R"HTML(<html><body>
<h1><a name="contents"></a>Marevox Help</h1>
<p>Marevox shows the ensemble files recorded by acoustic Doppler current profilers as charts and text,
and exports chosen data to text, MATLAB or NetCDF files.</p>
<h2>Contents</h2>
<ul>
<li><a href="#opening">Opening files</a></li>
<li><a href="#menus">Menus</a></li>
<li><a href="#charts">Charts</a></li>
<li><a href="#analysis">Track vector, trend and report editor</a></li>
<li><a href="#viewer">Data viewer</a></li>
<li><a href="#details">File details</a></li>
<li><a href="#navigator">The whole-set navigator</a></li>
<li><a href="#animate">Animation</a></li>
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
<b>Save Selected Set</b> does the same for the range last dragged on the Whole Set window (the whole
file until a range is chosen). An
existing file that already holds data is never overwritten ("Over-Write of File Not Allowed"), and a save
that fails (a full disk, a folder you may not write to) says so.</p>
<p>A name that cannot be read (a missing file, a folder, a file you may not read, an empty file) is
refused with a message that says why, also shown in the information window; it does not enter the list
of recent files.</p>

<h2><a name="menus"></a>Menus</h2>
<p>Items shown greyed wait for a loaded file, or for a file being written to be done.</p>
<dl>
<dt><b>File</b></dt><dd>MultiFile, Open, Save Selected Set, Save Sub Set, Exit and the recent files.</dd>
<dt><b>Edit</b></dt><dd>Copy &gt; Whole Set puts the chart of the Whole Set window on the clipboard; Copy
&gt; Sub Set puts the charts of the Sub Set window on the clipboard as one picture. MSPAINT &gt; Whole Set
and MSPAINT &gt; Sub Set do the same and hand the picture to the desktop's picture program (when
none starts, you are told, and the picture is still on the clipboard). Flip inverts the orientation of
every ensemble and reopens the file.</dd>
<dt><b>Options</b></dt><dd>Chart Options opens the chart options dialog on its Contour, Profile,
Series, Ancillary or Processing page (see <a href="#options">Options</a>). Max Ensembles sets the size of
the sub set.</dd>
<dt><b>Animate</b></dt><dd>Contour, Profile and Series, each with Go and Rewind: see
<a href="#animate">Animation</a>.</dd>
<dt><b>Export</b></dt><dd>Opens the export dialog (see <a href="#export">Export</a>).</dd>
<dt><b>Report</b></dt><dd>Opens the report editor on a snapshot of the contour.</dd>
<dt><b>Utilities</b></dt><dd>File Details reports on any ensemble file: see <a href="#details">File
details</a>. Trend shows the statistics, trend and residuals of a series candle.</dd>
<dt><b>Window</b></dt><dd>Shows or hides the Information, Whole Set, Sub Set, Viewer and Track Vector windows; a check
mark means the window is on screen. The Whole Set and Sub Set windows need a loaded file. Align Forms puts
the information, whole-set and sub-set windows back in their places.</dd>
<dt><b>Monitor</b></dt><dd>On and Interval: see <a href="#monitor">Monitor mode</a>.</dd>
<dt><b>Help</b></dt><dd>This help, and the program's version.</dd>
</dl>

<h2><a name="charts"></a>Charts</h2>
<p>The <b>Sub Set</b> window paints one quantity of the sub set as a colour contour over ensembles (left
to right) and depth bins (bottom to top); bad or missing values are left out.</p>
<p>The <b>profile</b> chart down the left side shows the profile ensemble (marked on the contour by a
dotted line) along the bins: each chosen data type is a trace across a panel of its kind (intensity,
correlation, velocity, magnitude, direction, error-velocity statistics, percent good), and its rows line
up with the contour rows beside it. Values beyond a panel's scale stay on its edge; missing values break
the trace.</p>
<p>The <b>series</b> chart below the contour shows the chosen data types of the series bins (marked on
the contour by horizontal lines) and the bottom-track, water-mass and navigation velocities over the
ensembles, each ensemble under its contour column; with Combo on, the bins of a type share one strip. The
ancillary strips below show pitch, roll, heading, temperature, depth, orientation, built-in test and
battery. Directions and the heading step through the strip's edges when they pass 0/360 degrees. Each
averaging interval is drawn as a candle: a line from the smallest to the largest value, a box of one
standard deviation either side of the mean, and a bar at the mean. <b>Utilities &gt; Trend</b> prints the
chosen candle's statistics across the middle of the series.</p>
<p>A right click on the profile or series opens its page of the chart options; hold
the space bar and drag a box across the series to load the ensembles under it.</p>
<p>On the contour, a click chooses the profile ensemble and selects or clears a bin for the series; the
arrow keys step them. Hold the space bar and drag a box to load the ensembles and bins under it as the new
sub set. Drag the edge of the profile or series area to share the window out differently.</p>

<h2><a name="analysis"></a>Track vector, trend and report editor</h2>
<p><b>Window &gt; Track Vector</b> resolves the velocities of the series bins into a <i>long-track</i>
component (upper chart) and a <i>cross-track</i> component (lower chart). The track direction comes from
each ensemble's bottom-track or navigation velocity, or from an angle you enter (<b>Projection &gt;
Manual</b>, degrees clockwise from north, -179.99 to 180; an entry beyond that range is taken as 180, an
empty answer or one that is not a number keeps the angle). Ensembles without a track velocity (none
recorded, or no motion) are left as gaps. The text column shows the last ensemble's bottom-track and
navigation speed and direction, the velocity reference and the ensemble's time. Its own menus choose the
speed and depth units, the time origin, the font, and animate the window through the file (<b>Animate &gt;
Go</b>, <b>Stop</b>, <b>Rewind</b>). Move the pointer over a chart to read the values under it.</p>
<p><b>Utilities &gt; Trend</b> shows the statistics of one averaging interval (candle) of the series chart,
one line per bin and series, and for the line you click the series with its trend (1-2-1 smoothing
repeated as many times as the slider says; gaps are filled on the way) and the residuals about it.
Directions are smoothed through their east and north components, and their residuals are taken the short
way round. Click the blinking candle number to choose another candle.</p>
<p>The <b>Report</b> command opens the report editor with a snapshot of the sub set's contour. Double-click
a title, axis caption or time label (or use <b>Edit &gt; Captions</b>) to change it; <b>File &gt; Save Edit
File</b> writes a report file (.mvr) that <b>Load Edit File</b> reads back without the ensemble file, and
<b>Load Sub Set</b> takes a new snapshot. A report is never saved over a file that holds data.</p>
<h2><a name="viewer"></a>Data viewer</h2>
<p><b>Window &gt; Viewer</b> opens the <b>Marevox Viewer</b>: every value of one ensemble of the sub set at
one bin, as text (ensemble number, date and time, bin and range; velocities, echo, correlation and percent
good of the bin; bottom track, reference and navigation velocities; attitude, temperature, depth and
positions). While it is on screen it follows the mouse: over the contour it shows the ensemble and bin
under the pointer, over the profile the profile ensemble at the bin beside the pointer. Its Font menu sets
the size of the text and makes it bold.</p>

<h2><a name="details"></a>File details</h2>
<p><b>Utilities &gt; File Details</b> asks for an ensemble file (the open file is offered first) and
shows the <b>Marevox File Details</b> window: the file's size and kind, the data types and the
instrument's set-up of its first ensemble (in words and by command), its first and last ensemble, and
the bytes beyond them. It then reads every ensemble of the file and counts them in the <b>Ensemble
Statistics</b> frame: the first and last ensemble numbers, missing ensembles, repeats, resets of the
numbering and ensembles of the wrong size. The counts grow while the file is read, and Marevox stays
usable meanwhile; closing the window stops the count. A file that cannot be opened shows "Invalid
File" and the reason.</p>

<h2><a name="navigator"></a>The whole-set navigator</h2>
<p>The <b>Whole Set</b> window shows the whole file in reduced form: the same contour as the Sub Set
window, drawn from the whole set (every n-th ensemble of a long file). A blinking white rectangle marks the
sub set on display; a second one, drawn just outside its cells, marks the selected range. The line at the
bottom names both ("Sub: 501 to 756", "Sel: 1 to 1721"). The markers blink when the contour option
Locators is on.</p>
<ul>
<li>The horizontal scroll bar moves the sub set along the file, keeping its length: a click on an arrow
moves it by about one ensemble, a click beside the thumb by one sub set; the thumb's ends give the first and
the last sub set of the file.</li>
<li>The vertical scroll bar moves the bins shown up and down, keeping their number (its top shows the top
bins).</li>
<li>The left and right arrow keys move the sub set by one ensemble, the up and down arrow keys the bins
shown by one bin.</li>
<li>Hold the space bar and drag a box over the chart: the ensembles and bins under it become the selected
range (saved by <b>File &gt; Save Selected Set</b>) and are loaded as the new sub set (at most Max
Ensembles of them).</li>
</ul>

<h2><a name="animate"></a>Animation</h2>
<p>The <b>Animate</b> menu steps the charts through the data by themselves, about 25 steps a second; the
program answers menus and the mouse between steps.</p>
<ul>
<li><b>Contour &gt; Go</b> pages the sub set through the file, half a sub set at a time, to the file's
end. <b>Rewind</b> goes back to the first sub set.</li>
<li><b>Profile &gt; Go</b> walks the profile ensemble to the last ensemble of the sub set. <b>Rewind</b>
goes back to the first.</li>
<li><b>Series &gt; Go</b> walks the selected series bins one bin at a time to the far end of the bins
shown (upwards for an up-looking instrument, downwards for a down-looking one). <b>Rewind</b> moves them
back to the start.</li>
</ul>
<p>A check mark shows a running animation; choose its Go again to stop it. Any key in the Sub Set window
and opening a file stop every animation.</p>

<h2><a name="export"></a>Export</h2>
<p><b>Export</b> opens the <b>MAREVOX Export Options</b> window, filled from what the charts show. Its pages
choose what to write:</p>
<ul>
<li><b>Contour</b>: one data type (echo amplitude, correlation, velocity or percent good) of the chosen
bins for the ensembles First to Last in steps of Step;</li>
<li><b>Profile</b>: any data types of the chosen bins of one ensemble;</li>
<li><b>Series/Ancillary</b>: any per-bin data types of the chosen bins, bottom-track, water-mass and
navigation velocities, positions, bottom-track depth and the ancillary values (pitch, roll, heading,
temperature, depth, orientation, BIT, battery) for First to Last in steps of Step.</li>
</ul>
<p>The bin lists start empty; All and None choose every bin of the file or none. Each page writes a text
file (TXT: columns separated by TAB characters, bad values left empty), a MATLAB Level 4 MAT file (MAT:
bad values kept as -32768) or a NetCDF file (NC, described below). <b>Write File</b> asks for the file name, then writes it while the progress
bar moves; the menus and chart windows wait until it is done. Ensemble numbers outside the file are brought
inside it, and the boxes show the numbers written. A file that already holds data is never overwritten
("Over-Write of File Not Allowed"); a file that cannot be written is reported and removed again.
<b>Quit Export</b> closes the window, or, while a file is being written, stops the export (the file keeps
what was written so far, and you are told so) and then closes it.</p>
<p>The command-line program writes the same files, byte for byte, for the same choices:
<tt>marevox-cli export contour|profile|series FILE --out PATH</tt>, with <tt>--format mat</tt> for a MAT
file and <tt>--format nc</tt> for a NetCDF file.</p>
<p>The NetCDF file (NC, or <tt>--format nc</tt>) follows the CF conventions (CF-1.8): the
ensembles are the dimension <i>time</i>, the bins the dimension <i>range</i> (metres from the transducer,
<i>positive</i> up or down as the instrument looked), and every data type a variable of raw integers
with <i>scale_factor</i>, <i>units</i> and <i>_FillValue</i> -32768, so that a program that decodes CF
reads m/s, degrees and metres, and NaN for bad values. Times count seconds from 1 January of the first
ensemble's year; two-digit years read as 1981-1999 and 2000-2079. Narrowband ensembles carry no year:
their times take the stand-in year 1904 (one more after each New Year they cross), which the time
variable's comment states; put the deployment's year into its units to date them.</p>

<h2><a name="options"></a>Options</h2>
<p><b>Options &gt; Chart Options</b> opens the <b>MAREVOX Chart Options</b> window on one of its pages
(Ctrl+Tab moves to the next page; a right click on the contour opens the Contour page):</p>
<ul>
<li><b>Contour</b>: the data type the contour shows, its colour scale (Manual with your Min and Max, Peak,
or the mean plus and minus 1, 2 or 3 standard deviations), locators, grid and bottom-track depth line, the
selected set's first and last ensemble, and the first and last bin shown;</li>
<li><b>Profile</b>: the profile chart's data types, lines, symbols, grid, scales and ensemble;</li>
<li><b>Series</b>: the series chart's data types, style, scales, bins and averaging interval (All: the
whole sub set; User: hhhh:mm:ss.hh);</li>
<li><b>Ancillary</b>: the ancillary chart's data types, style and scales, and the water density used for
depth from pressure;</li>
<li><b>Processing</b>: the water and bottom velocity scale factors, the velocity reference and the end of
profile.</li>
</ul>
<p><b>Apply</b> takes the changes into the charts and saves the options; a change of the velocity
reference or of a scale factor reads the whole file again. <b>OK</b> does the same and closes the window,
<b>Cancel</b> closes it without a change. <b>Default</b> puts every setting back to its default (apply to
see it), <b>Load</b> reads settings from an options file, and <b>Save</b> writes them to a new or empty file
once they are applied. A box that does not start with a number reads as 0; numbers beyond 1,000,000,000
are held there; a water density that is not positive is refused.</p>
<p>Options are kept in the file MRVXOps.Txt in the program's settings folder; they are read at start-up
and written when the program ends, together with the places of the windows (a place too small or off the
screen is not kept). A file written by another version of the program is ignored.</p>

<h2><a name="monitor"></a>Monitor mode</h2>
<p>Monitor mode follows a file that is still being recorded. Choose <b>Monitor &gt; On</b>: every
<i>interval</i> seconds (5 unless changed with <b>Monitor &gt; Interval</b>, 1 to 9999) Marevox looks at the
size of the file opened last and, when it has grown, reopens it and shows its newest ensembles. The menu
bar counts down the seconds to the next look. While monitoring, the File, Edit, Options, Animate and Export
menus and the chart options and export windows are disabled; choose <b>Monitor &gt; On</b> again to stop.
A file that cannot be read while
monitoring is reported in the information window only, so that no message box stops the watch.</p>

<h2><a name="commandline"></a>Command line</h2>
<pre>marevox [FILE [-Mnnnn]]</pre>
<p>Opens FILE at start-up. With -M and four digits (for example <tt>-M0030</tt>) the file is monitored
at once, every nnnn seconds.</p>
</body></html>)HTML";
}

} // namespace mvx
